// Fonts: a size in points becomes a pixel height at the screen's resolution, and the Windows
// dialog faces are served by metric stand-ins.

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <climits>
#include <cmath>
#include <cstdint>

#include "font_p.h"
#include "platform_p.h"
#include "toolkit/toolkitexception.h"

namespace {

// The point size of the system's default GUI font on the reference platform.
constexpr float defaultGuiFontPoints = 8;

// The family that stands in for "MS Shell Dlg 2" and "Tahoma".
QString& dialogFamily() {
    static QString family = QStringLiteral("Liberation Sans");
    return family;
}

bool isDialogFace(const std::string& family) {
    return family == "MS Shell Dlg 2" || family == "MS Shell Dlg" || family == "Tahoma";
}

QString qtFamilyFor(const std::string& family) {
    if (isDialogFace(family)) {
        return dialogFamily();
    }
    if (family == "Microsoft Sans Serif" || family == "MS Sans Serif") {
        return QStringLiteral("Liberation Sans");
    }
    return toQString(family);
}

// The bold face is made known the first time a font asks for it, which no window of the program
// does: each font file registered costs start-up time.
void registerSubstituteBoldFont() {
    static const bool registered [[maybe_unused]] =
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf")) >= 0;
}

// a * b / c rounded to the nearest whole number, halves away from zero, as Windows' MulDiv.
std::int64_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t product = a * b;
    const std::int64_t rounded = (std::llabs(product) + c / 2) / c;
    return product < 0 ? -rounded : rounded;
}

int logicalDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
}

[[noreturn]] void refuseFont() {
    throw ToolkitException("Unable to create font");
}

// The native height of a font: minus the size in pixels.
int nativeHeight(float size, GraphicsUnit unit) {
    if (!std::isfinite(size) || size <= 0) {
        refuseFont();
    }
    const double hundredths = double(size) * (unit == GraphicsUnit::Point ? 100.0 : 1.0);
    if (hundredths > double(INT_MAX)) {
        refuseFont();
    }
    const std::int64_t pixels =
        unit == GraphicsUnit::Point ? mulDiv(std::int64_t(hundredths), logicalDpiY(), 7200) : std::int64_t(hundredths);
    // Too small to show a single pixel, or too large for any glyph: no font the system would make.
    if (pixels <= 0 || pixels > 0xFFFF) {
        refuseFont();
    }
    return -int(pixels);
}

}  // namespace

void registerSubstituteFonts() {
    const int regular = QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(regular);
    if (!families.isEmpty()) {
        dialogFamily() = families.first();
    }
}

Font::Font(std::string family, float size, FontStyle style, GraphicsUnit unit)
    : family_(std::move(family)), size_(size), style_(style), unit_(unit) {
    if (family_.empty()) {
        refuseFont();
    }
    ensureQtApplication();
    height_ = nativeHeight(size_, unit_);
    if (isDialogFace(family_) && hasStyle(style_, FontStyle::Bold)) {
        registerSubstituteBoldFont();
    }
    QFont font(qtFamilyFor(family_));
    font.setPixelSize(-height_);
    font.setWeight(hasStyle(style_, FontStyle::Bold) ? QFont::Bold : QFont::Normal);
    font.setItalic(hasStyle(style_, FontStyle::Italic));
    font.setUnderline(hasStyle(style_, FontStyle::Underline));
    font.setStrikeOut(hasStyle(style_, FontStyle::Strikeout));
    native_ = std::make_unique<Native>(Native{font});
}

Font::~Font() = default;

const std::shared_ptr<Font>& defaultControlFont() {
    // The application object first: making it sets this very font as the application's.
    ensureQtApplication();
    static const std::shared_ptr<Font> font = std::make_shared<Font>("MS Shell Dlg 2", defaultGuiFontPoints);
    return font;
}

const QFont& qFontOf(const std::shared_ptr<Font>& font) {
    return (font ? font : defaultControlFont())->native(nativeKey).font;
}
