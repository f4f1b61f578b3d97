#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "common/errors.h"

// How the command-line tools name a place in a file: "FILE:LINE", or "FILE" alone for line 0,
// when no single line is meant.
std::string placeText(std::string_view file, std::uint64_t line);

// Prints "PLACE: TEXT" as one line on the stream, the place as placeText() names it.
void printAtPlace(std::FILE* stream, std::string_view file, std::uint64_t line, std::string_view text);

// Where a tool tells about what it leaves out or guesses: "FILE:LINE: skipped: REASON" and
// "FILE:LINE: warning: TEXT", one a line (without ":LINE" when no single line is meant).
class Reporter {
public:
    explicit Reporter(std::string fileName, bool strict = false, std::FILE* stream = stderr)
        : fileName_(std::move(fileName)), strict_(strict), stream_(stream) {}

    // Leaves something out, or throws InputError when strict. `file` names an imported file; empty
    // for the input file itself.
    void skip(std::uint64_t line, const std::string& reason, const std::string& file = {});
    void warn(std::uint64_t line, const std::string& text);
    // The error that ended the tool's work: "FILE:LINE: message".
    void fail(const InputError& error);
    std::uint64_t skipCount() const { return skipCount_; }

private:
    void print(const std::string& file, std::uint64_t line, const char* kind, const std::string& text);

    std::string fileName_;
    bool strict_;
    std::FILE* stream_;
    std::uint64_t skipCount_ = 0;
};
