#pragma once

#include <string>
#include <string_view>

#include "parser/byteordermark.h"

// How each line of a dictionary becomes UTF-8, by the byte order mark of its file. With the UTF-8
// mark a line is taken as it stands. Without a mark each line is decided on its own: as it stands
// when it is well-formed UTF-8, else read in the ANSI code page, so that one file may mix the two.
// A UTF-16 or UTF-32 mark refuses the file at its first line.
class LineDecoder {
public:
    explicit LineDecoder(ByteOrderMark mark) : mark_(mark) {}

    // The line as UTF-8, valid until the next call. Throws Exception for a UTF-16 or UTF-32 file.
    std::string_view decoded(std::string_view line);
    // Whether the line last decoded was read in the ANSI code page.
    bool readAsAnsi() const { return readAsAnsi_; }

private:
    ByteOrderMark mark_;
    std::string converted_;
    bool readAsAnsi_ = false;
};
