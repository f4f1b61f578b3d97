// Labels: text the toolkit draws itself, wrapped and placed as the reference platform does.

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <cmath>

#include "accessibility_p.h"
#include "control_p.h"
#include "font_p.h"
#include "label_p.h"
#include "toolkit/label.h"

namespace {

// A label's text as it is shown: "&&" stands for "&", "&x" shows x underlined, and every line
// break ("\r\n", "\r" or "\n") is one "\n".
struct ShownText {
    QString text;
    qsizetype mnemonic = -1;
};

ShownText shownTextOf(QString raw) {
    raw.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    raw.replace(u'\r', u'\n');
    ShownText shown;
    for (qsizetype index = 0; index < raw.size(); ++index) {
        if (raw[index] == u'&' && index + 1 < raw.size()) {
            ++index;
            if (raw[index] != u'&' && shown.mnemonic < 0) {
                shown.mnemonic = shown.text.size();
            }
        }
        shown.text += raw[index];
    }
    return shown;
}

struct TextLine {
    qsizetype start;
    qsizetype length;
};

// Where a line's baseline lies below its top, and how far apart the lines are: as Windows
// measures a font, from the ascent and descent of its OS/2 table, which Qt passes over for
// fonts that ask for their typographic metrics (Wine's Tahoma does, which would make the lines
// two pixels closer than the windows were laid out for).
struct LineMetrics {
    int ascent;
    int height;
};

LineMetrics lineMetricsOf(const QFont& font) {
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray table = raw.fontTable("OS/2");
    constexpr int winDescentOffset = 76;
    if (table.size() < winDescentOffset + 2 || raw.unitsPerEm() <= 0) {
        const QFontMetrics metrics(font);
        return {metrics.ascent(), metrics.height()};
    }
    const auto unsigned16 = [&table](int offset) { return (uchar(table[offset]) << 8) | uchar(table[offset + 1]); };
    const qreal scale = raw.pixelSize() / raw.unitsPerEm();
    const int ascent = qRound(unsigned16(winDescentOffset - 2) * scale);
    return {ascent, ascent + qRound(unsigned16(winDescentOffset) * scale)};
}

// Whether text[start, end) fits the width, spaces at its end left out. What counts is where
// the last glyph's ink ends: the blank that some glyphs keep after their ink may overhang.
bool fits(const QString& text, qsizetype start, qsizetype end, const QFontMetricsF& metrics, qreal width) {
    while (end > start && text[end - 1] == u' ') {
        --end;
    }
    if (end == start) {
        return true;
    }
    const qreal advance = metrics.horizontalAdvance(text.mid(start, end - start));
    return advance - std::max<qreal>(0, metrics.rightBearing(text[end - 1])) <= width;
}

// One character further, a surrogate pair taken whole.
qsizetype nextCharacter(const QString& text, qsizetype index) {
    return index + (text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1);
}

// Breaks one paragraph (no "\n" inside) into lines at spaces; a word wider than a whole line is
// broken between its characters. The spaces at a break belong to no line.
void wrapParagraph(const QString& text, qsizetype start, qsizetype end, const QFontMetricsF& metrics, qreal width,
                   std::vector<TextLine>& lines) {
    if (start == end) {
        lines.push_back({start, 0});
        return;
    }
    qsizetype position = start;
    while (position < end) {
        qsizetype lineEnd = position;
        for (qsizetype wordEnd = position; wordEnd < end;) {
            while (wordEnd < end && text[wordEnd] == u' ') {
                ++wordEnd;
            }
            while (wordEnd < end && text[wordEnd] != u' ') {
                ++wordEnd;
            }
            if (!fits(text, position, wordEnd, metrics, width)) {
                break;
            }
            lineEnd = wordEnd;
        }
        if (lineEnd == position) {
            lineEnd = nextCharacter(text, position);
            while (lineEnd < end && text[lineEnd] != u' '
                   && fits(text, position, nextCharacter(text, lineEnd), metrics, width)) {
                lineEnd = nextCharacter(text, lineEnd);
            }
        }
        lines.push_back({position, lineEnd - position});
        position = lineEnd;
        while (position < end && text[position] == u' ') {
            ++position;
        }
    }
}

// The lines a label of this size draws: wrapped to its width, and without a last line that
// would be cut off at the bottom.
std::vector<TextLine> visibleLines(const QString& text, const QFont& font, QSize size) {
    const QFontMetricsF metrics(font);
    std::vector<TextLine> lines;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            end = text.size();
        }
        wrapParagraph(text, start, end, metrics, size.width(), lines);
        start = end + 1;
    }
    const std::size_t fitting = std::size_t(std::max(0, size.height() / lineMetricsOf(font).height));
    if (lines.size() > fitting) {
        lines.resize(fitting);
    }
    return lines;
}

class LabelWidget : public QWidget {
public:
    explicit LabelWidget(QWidget* parent) : QWidget(parent) {
        setFocusPolicy(Qt::NoFocus);
        describeAs(*this, QAccessible::StaticText);
    }

    void setLabel(const QString& text, ContentAlignment alignment) {
        shown_ = shownTextOf(text);
        alignment_ = alignment;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        const QFontMetricsF metrics(font());
        const LineMetrics line = lineMetricsOf(font());
        // Qt places a line's top by its own ascent: the baseline has to come where Windows puts it.
        qreal top = line.ascent - metrics.ascent();
        for (const TextLine& shown : visibleLines(shown_.text, font(), size())) {
            const QString text = shown_.text.mid(shown.start, shown.length);
            const qreal lineWidth = metrics.horizontalAdvance(text);
            qreal x = 0;
            if (alignment_ == ContentAlignment::TopCenter) {
                x = (width() - lineWidth) / 2;
            }
            if (alignment_ == ContentAlignment::TopRight) {
                x = width() - lineWidth;
            }
            drawLine(painter, QRectF(x, top, lineWidth, metrics.height()), shown, text);
            top += line.height;
        }
    }

private:
    void drawLine(QPainter& painter, const QRectF& place, const TextLine& line, QString text) const {
        int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
        const qsizetype mnemonic = shown_.mnemonic - line.start;
        if (mnemonic >= 0 && mnemonic < line.length) {
            // Qt underlines the letter after a single "&" and shows "&&" as "&".
            const qsizetype ampersandsBefore = text.left(mnemonic).count(u'&');
            text.replace(u'&', QStringLiteral("&&"));
            text.insert(mnemonic + ampersandsBefore, u'&');
            flags |= Qt::TextShowMnemonic;
        }
        painter.drawText(place, flags, text);
    }

    ShownText shown_;
    ContentAlignment alignment_ = ContentAlignment::TopLeft;
};

}  // namespace

std::optional<QChar> mnemonicOf(const QString& text) {
    for (qsizetype index = 0; index + 1 < text.size(); ++index) {
        if (text[index] != u'&') {
            continue;
        }
        if (text[index + 1] != u'&') {
            return text[index + 1].toUpper();
        }
        ++index;
    }
    return std::nullopt;
}

QString withoutMnemonicMarks(const QString& text) {
    return shownTextOf(text).text;
}

int labelLineHeight(const QFont& font) {
    return lineMetricsOf(font).height;
}

QStringList labelLines(const QString& text, const QFont& font, QSize size) {
    const ShownText shown = shownTextOf(text);
    QStringList lines;
    for (const TextLine& line : visibleLines(shown.text, font, size)) {
        lines.append(shown.text.mid(line.start, line.length));
    }
    return lines;
}

Label::Label() : Control(Kind{.defaultBounds = {0, 0, 100, 23}}) {}

void Label::createNativeWidget() {
    native(nativeKey).widget = new LabelWidget(widgetOf(parent()));
}

void Label::applyNativeText() {
    static_cast<LabelWidget*>(widgetOf(*this))->setLabel(toQString(text()), alignment_);
}

void Label::setText(const std::string& text) {
    Control::setText(text);
    if (fitToText_) {
        fitSizeToText();
    }
}

void Label::setAlignment(ContentAlignment alignment) {
    alignment_ = alignment;
    if (created()) {
        applyNativeText();
    }
}

void Label::setFitToText(bool fit) {
    fitToText_ = fit;
    if (fit) {
        fitSizeToText();
    }
}

// The extent of the text in the label's font, one line per line break and none by wrapping.
void Label::fitSizeToText() {
    constexpr qreal maximumWidth = 32767;
    const QFont& font = qFontOf(this->font());
    const QFontMetricsF metrics(font);
    const QStringList lines = shownTextOf(toQString(text())).text.split(u'\n');
    qreal width = 0;
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    const Rect bounds = this->bounds();
    setBounds(bounds.x, bounds.y, int(std::ceil(std::min(width, maximumWidth))),
              int(lines.size()) * labelLineHeight(font));
}
