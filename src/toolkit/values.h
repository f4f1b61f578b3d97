#pragma once

// Plain values the controls are described with.

#include <cstdint>

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// An RGB colour, or one of the system's colours when systemIndex is not NoSystemColor.
struct Color {
    static constexpr std::uint8_t NoSystemColor = 255;
    static constexpr std::uint8_t ButtonFace = 15;
    static constexpr std::uint8_t WindowBackground = 5;  // the background of text boxes

    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;
    std::uint8_t systemIndex = NoSystemColor;

    static constexpr Color fromRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return {r, g, b, 255, NoSystemColor};
    }
    static constexpr Color system(std::uint8_t index) { return {0, 0, 0, 255, index}; }
    bool operator==(const Color&) const = default;
};

// How a modal display of a form or dialog ended.
enum class DialogResult { None = 0, OK = 1, Cancel = 2 };
