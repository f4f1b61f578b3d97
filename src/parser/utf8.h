#pragma once

#include <cstddef>
#include <string_view>

// Whether the bytes are well-formed UTF-8 by RFC 3629: no stray continuation bytes, no C0, C1 or
// F5..FF lead bytes, no overlong forms, no surrogates, nothing above U+10FFFF, and no sequence cut
// off by the end of the text.
bool isWellFormedUtf8(std::string_view text);

// The length of the well-formed sequence at the start of the text, by the same rules: 1 for an
// ASCII byte, 2 to 4 for any other character, 0 where none starts there.
std::size_t utf8SequenceLength(std::string_view text);

// The code point of one well-formed sequence, as utf8SequenceLength() measured it.
char32_t codePointOf(std::string_view sequence);
