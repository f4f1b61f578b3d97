#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The text rules that entries, guesses and dictionary files share. Texts are UTF-8 bytes; only
// ASCII bytes ever count as white space or change case, so every byte of a non-ASCII character
// (a no-break space, an "Å") is content and compared exactly.

// White space is exactly these six bytes.
constexpr std::string_view whiteSpace = " \t\n\v\f\r";

inline bool isWhiteSpace(char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// The text without white space at either end.
inline std::string_view stripped(std::string_view text) {
    while (!text.empty() && isWhiteSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isWhiteSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

inline char asciiLowerCase(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + ('a' - 'A')) : byte;
}

// The text with A to Z taken as a to z, all other bytes as they are.
inline std::string asciiLowerCased(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), asciiLowerCase);
    return result;
}

// Whether every byte is ASCII: the common case, which needs no Unicode rules at all. A guess is
// checked this way on every Enter, so the bytes are looked at in words, the last word overlapping
// the one before it rather than taken byte by byte.
inline bool isAscii(std::string_view text) {
    const char* bytes = text.data();
    const std::size_t size = text.size();
    const auto word64 = [bytes](std::size_t at) {
        std::uint64_t word;
        std::memcpy(&word, bytes + at, sizeof word);
        return word;
    };
    const auto word32 = [bytes](std::size_t at) {
        std::uint32_t word;
        std::memcpy(&word, bytes + at, sizeof word);
        return word;
    };
    std::uint64_t seen = 0;
    if (size >= 8) {
        for (std::size_t at = 0; at + 8 <= size; at += 8) {
            seen |= word64(at);
        }
        seen |= word64(size - 8);
    } else if (size >= 4) {
        seen = word32(0) | word32(size - 4);
    } else {
        for (std::size_t at = 0; at < size; ++at) {
            seen |= static_cast<unsigned char>(bytes[at]);
        }
    }
    return (seen & 0x8080808080808080ULL) == 0;
}

// Equal length in bytes, and equal bytes once A to Z are taken as a to z.
inline bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLowerCase(x) == asciiLowerCase(y);
           });
}
