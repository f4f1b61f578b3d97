#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

// A fault in an input file that stops the tool. `line` is 0 when no single line is to blame;
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

// Options that contradict each other or the input (exit status 2), also those found only once the
// input is read.
class WrongUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
