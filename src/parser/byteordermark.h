#pragma once

#include <cstddef>
#include <string_view>

enum class ByteOrderMark { none, utf8, utf16LittleEndian, utf16BigEndian, utf32LittleEndian, utf32BigEndian };

// How many of a text's first bytes byteOrderMarkOf() needs to see to tell every mark apart.
constexpr std::size_t longestByteOrderMark = 4;

// The mark the bytes start with. Where two match, the longer wins: FF FE 00 00 is the UTF-32
// little-endian mark, not the UTF-16 one followed by a NUL.
ByteOrderMark byteOrderMarkOf(std::string_view bytes);

// The bytes of the mark; empty for none.
std::string_view bytesOf(ByteOrderMark mark);

// The name of the encoding that the mark stands for, as iconv knows it ("UTF-16LE"); empty for none.
std::string_view encodingNameOf(ByteOrderMark mark);
