#include "parser/codepage.h"

#include <array>
#include <cstdint>

namespace {

// Bytes 80..9F; every byte from A0 up is the code point of the same number.
constexpr std::array<std::uint16_t, 32> codePointsFrom80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::uint16_t codePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return codePointsFrom80[byte - 0x80];
    }
    return byte;
}

void appendUtf8(std::uint16_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace

void convertAnsiToUtf8(std::string_view ansi, std::string& utf8) {
    utf8.clear();
    // No character of the code page needs more than three UTF-8 bytes.
    utf8.reserve(ansi.size() * 3);
    for (const char byte : ansi) {
        appendUtf8(codePointOf(static_cast<unsigned char>(byte)), utf8);
    }
}
