#pragma once

// Fonts: a family, a size in points or pixels, and a style.

#include <memory>
#include <string>

#include "toolkit/nativekey.h"

enum class GraphicsUnit { Pixel = 2, Point = 5 };

// Font style flags; combine with |.
enum class FontStyle : unsigned { Regular = 0, Bold = 1, Italic = 2, Underline = 4, Strikeout = 8 };
constexpr FontStyle operator|(FontStyle a, FontStyle b) {
    return FontStyle(unsigned(a) | unsigned(b));
}
constexpr bool hasStyle(FontStyle style, FontStyle flag) {
    return (unsigned(style) & unsigned(flag)) != 0;
}

class Font {
public:
    // Throws ToolkitException "Unable to create font" when the system refuses the font.
    Font(std::string family, float size, FontStyle style = FontStyle::Regular, GraphicsUnit unit = GraphicsUnit::Point);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::string& family() const { return family_; }
    float size() const { return size_; }
    FontStyle style() const { return style_; }
    GraphicsUnit unit() const { return unit_; }
    // The native height in pixels: negative for a size in points (10 points at 96 dpi give -13).
    int height() const { return height_; }

    // The platform's font; complete, and reached, only inside the toolkit.
    struct Native;
    const Native& native(NativeKey /*key*/) const { return *native_; }

private:
    std::string family_;
    float size_;
    FontStyle style_;
    GraphicsUnit unit_;
    int height_ = 0;
    std::unique_ptr<Native> native_;
};
