#pragma once

#include <sys/types.h>

#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "parser/byteordermark.h"

// Which file a path leads to, however the path is spelled.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;

    // clang-tidy 14 takes the 0 that a defaulted comparison compares against for a null pointer.
    // NOLINTNEXTLINE(modernize-use-nullptr)
    auto operator<=>(const FileIdentity&) const = default;
};

// How a dictionary is cut into lines: a line ends at LF, at CR, or at CR LF, which is one line
// end; every other byte, NUL included, is part of the line.
constexpr bool isLineEnd(char byte) {
    return byte == '\n' || byte == '\r';
}

// The first line end in the bytes; `to` when there is none.
const char* findLineEnd(const char* from, const char* to);

// The bytes that the line end at the start of `rest` takes: 2 for CR LF, else 1.
inline std::size_t lineEndLength(std::string_view rest) {
    return rest.starts_with("\r\n") ? 2 : 1;
}

// Reads one dictionary file in large blocks and hands it out line by line, its lines cut as above.
// A read that fails counts as the end of the file.
class LineReader {
public:
    LineReader() = default;
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens a regular file, or a link to one, read-only. False for anything else, so that a
    // directory, FIFO, socket or device named in a dictionary never blocks or floods the reader.
    bool open(const std::string& path);
    FileIdentity identity() const { return identity_; }
    // The size of the file when it was opened.
    std::uint64_t size() const { return size_; }

    // Looks at the first bytes of the file; consumes the mark found and gives back everything else.
    ByteOrderMark takeByteOrderMark();
    bool hasMoreBytes();
    // Only after hasMoreBytes() returned true. The view stays valid until the next call.
    std::string_view nextLine();

private:
    bool readMore();

    int descriptor_ = -1;
    FileIdentity identity_;
    std::uint64_t size_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t start_ = 0;  // first byte not handed out yet
    std::size_t end_ = 0;    // end of the bytes read so far
    bool endOfFile_ = false;
    bool afterCarriageReturn_ = false;  // an LF that follows now belongs to the previous line end
};
