#include "parser/linedecoder.h"

#include "parser/codepage.h"
#include "parser/utf8.h"
#include "program/exception.h"

std::string_view LineDecoder::decoded(std::string_view line) {
    switch (mark_) {
    case ByteOrderMark::utf8:
        return line;
    case ByteOrderMark::none:
        readAsAnsi_ = !isWellFormedUtf8(line);
        if (!readAsAnsi_) {
            return line;
        }
        convertAnsiToUtf8(line, converted_);
        return converted_;
    case ByteOrderMark::utf16LittleEndian:
    case ByteOrderMark::utf16BigEndian:
    case ByteOrderMark::utf32LittleEndian:
    case ByteOrderMark::utf32BigEndian:
        break;
    }
    throw Exception("Unsupported character encoding in read file.\nExpected UTF8 or ANSI file.");
}
