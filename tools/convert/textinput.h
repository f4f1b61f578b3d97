#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// A fault in an input file that stops the conversion. `line` is 0 when no single line is to blame;
// `file` is empty when the fault is in the input file itself rather than in a file it imports.
class InputError : public std::runtime_error {
public:
    InputError(std::uint64_t line, const std::string& message, std::string file = {})
        : std::runtime_error(message), line_(line), file_(std::move(file)) {}
    std::uint64_t line() const { return line_; }
    const std::string& file() const { return file_; }

private:
    std::uint64_t line_;
    std::string file_;
};

// The whole file; throws InputError when it cannot be read.
std::string readWholeFile(const std::string& path);

// The bytes as UTF-8 text, without a byte order mark. With an empty `encoding` it is guessed:
// a UTF-8, UTF-16 or UTF-32 byte order mark names it, else well-formed UTF-8 is taken as UTF-8 and
// anything else as Windows-1252. Any other name is handed to iconv. Throws InputError for an
// unknown encoding or for bytes that are not text in it.
std::string decodedText(std::string bytes, const std::string& encoding);

// The number of the line (from 1) on which the byte at `offset` of the text stands.
std::uint64_t lineAt(std::string_view text, std::size_t offset);
