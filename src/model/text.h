#pragma once

#include <algorithm>
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

// Equal length in bytes, and equal bytes once A to Z are taken as a to z.
inline bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLowerCase(x) == asciiLowerCase(y);
           });
}
