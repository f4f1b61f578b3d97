#include "parser/byteordermark.h"

using namespace std::string_view_literals;

namespace {

struct MarkedEncoding {
    ByteOrderMark mark;
    std::string_view bytes;
    std::string_view encoding;
};

// Longer marks before the shorter ones they begin with.
constexpr MarkedEncoding markedEncodings[] = {
    {ByteOrderMark::utf32LittleEndian, "\xFF\xFE\x00\x00"sv, "UTF-32LE"},
    {ByteOrderMark::utf32BigEndian, "\x00\x00\xFE\xFF"sv, "UTF-32BE"},
    {ByteOrderMark::utf8, "\xEF\xBB\xBF"sv, "UTF-8"},
    {ByteOrderMark::utf16LittleEndian, "\xFF\xFE"sv, "UTF-16LE"},
    {ByteOrderMark::utf16BigEndian, "\xFE\xFF"sv, "UTF-16BE"},
};

constexpr MarkedEncoding unmarked{ByteOrderMark::none, {}, {}};

const MarkedEncoding& markedEncodingOf(ByteOrderMark mark) {
    for (const MarkedEncoding& marked : markedEncodings) {
        if (marked.mark == mark) {
            return marked;
        }
    }
    return unmarked;
}

}  // namespace

ByteOrderMark byteOrderMarkOf(std::string_view bytes) {
    for (const MarkedEncoding& marked : markedEncodings) {
        if (bytes.starts_with(marked.bytes)) {
            return marked.mark;
        }
    }
    return ByteOrderMark::none;
}

std::string_view bytesOf(ByteOrderMark mark) {
    return markedEncodingOf(mark).bytes;
}

std::string_view encodingNameOf(ByteOrderMark mark) {
    return markedEncodingOf(mark).encoding;
}
