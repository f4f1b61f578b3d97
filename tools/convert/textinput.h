#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
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

// Options that contradict each other or the input, found only once the input is read (exit status 2).
class WrongUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where the conversion tells about what it leaves out or guesses: "FILE:LINE: skipped: REASON" and
// "FILE:LINE: warning: TEXT", one a line (without ":LINE" when no single line is meant).
class Reporter {
public:
    explicit Reporter(std::string fileName, bool strict = false, std::FILE* stream = stderr)
        : fileName_(std::move(fileName)), strict_(strict), stream_(stream) {}

    // Leaves something out, or throws InputError when strict. `file` names an imported file; empty
    // for the input file itself.
    void skip(std::uint64_t line, const std::string& reason, const std::string& file = {});
    void warn(std::uint64_t line, const std::string& text);
    // The error that ended the conversion: "FILE:LINE: message".
    void fail(const InputError& error);
    std::uint64_t skipCount() const { return skipCount_; }

private:
    void print(const std::string& file, std::uint64_t line, const char* kind, const std::string& text);

    std::string fileName_;
    bool strict_;
    std::FILE* stream_;
    std::uint64_t skipCount_ = 0;
};

// A number written in the digits 0 to 9 alone, at most six of them ("3", "012"); nothing for
// anything else, signs and spaces included.
std::optional<std::size_t> plainNumber(std::string_view text);

// Hands out the lines of a text one by one. A line ends at LF, CR or CR LF, as in a dictionary.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}

    // False at the end of the text. `content` is the line without its end, `whole` with it.
    bool next(std::string_view& content, std::string_view& whole);

private:
    std::size_t nextAfterStart(char byte, std::size_t& cached) const;

    std::string_view text_;
    std::size_t start_ = 0;
    // The next LF and CR at or after start_, found once and kept, so that a text with only one kind
    // of line end is still searched once.
    std::size_t nextLineFeed_ = 0;
    std::size_t nextCarriageReturn_ = 0;
    bool searched_ = false;
};

// A growing run of bytes in memory mapped for it alone, in large pages where the system offers
// them: a table of many megabytes then costs a page fault every 2 MB rather than every 4 KB.
class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) = delete;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    void append(std::string_view bytes) {
        if (capacity_ - size_ < bytes.size()) {
            reserve(size_ + bytes.size());
        }
        std::memcpy(data_ + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
    }
    // Room for at least `count` bytes more; the caller writes them at view().end() and takes them
    // with grow().
    void reserve(std::size_t capacity);
    char* end() { return data_ + size_; }
    std::size_t spare() const { return capacity_ - size_; }
    void grow(std::size_t count) { size_ += count; }
    std::string_view view() const { return {data_, size_}; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// The whole file; throws InputError when it cannot be read.
ByteBuffer readWholeFile(const std::string& path);

// The bytes as UTF-8 text, without a byte order mark. An empty `encoding` means: a UTF-8, UTF-16
// or UTF-32 byte order mark names the encoding; without one each line is decided on its own, as
// the program decides for a dictionary: well-formed UTF-8 stays, any other line is read as
// Windows-1252 and reported (each such line when the file has UTF-8 lines too, else once). Any
// other name is handed to iconv. Throws InputError for an unknown encoding or for bytes that are
// not text in the encoding named.
// The text is the bytes themselves where they can be, else kept in `converted`.
std::string_view decodedText(std::string_view bytes, const std::string& encoding, Reporter& reporter,
                             std::string& converted);
