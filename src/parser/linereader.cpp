#include "parser/linereader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t blockSize = std::size_t{64} * 1024;

constexpr std::uint64_t everyByte(unsigned char byte) {
    return 0x0101010101010101ULL * byte;
}

// Whether any of the eight bytes equals `byte` (the classic zero-byte test on the XOR).
bool containsByte(std::uint64_t bytes, unsigned char byte) {
    const std::uint64_t zeroWhereEqual = bytes ^ everyByte(byte);
    return ((zeroWhereEqual - everyByte(0x01)) & ~zeroWhereEqual & everyByte(0x80)) != 0;
}

}  // namespace

// Line ends are rare among the bytes: eight at a time take a tenth off the parser's own reading.
const char* findLineEnd(const char* from, const char* to) {
    while (to - from >= 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, from, sizeof bytes);
        if (containsByte(bytes, '\n') || containsByte(bytes, '\r')) {
            break;
        }
        from += 8;
    }
    return std::find_if(from, to, isLineEnd);
}

LineReader::~LineReader() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool LineReader::open(const std::string& path) {
    // The system would silently cut the path at a NUL and open some other file.
    if (path.find('\0') != std::string::npos) {
        return false;
    }
    // Checked before opening as well as after: merely opening some devices has effects.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    // Non-blocking, so that a FIFO swapped in after the check still cannot hang the open.
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor_ < 0) {
        return false;
    }
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor_);
        descriptor_ = -1;
        return false;
    }
    identity_ = {status.st_dev, status.st_ino};
    size_ = static_cast<std::uint64_t>(status.st_size);
    capacity_ = blockSize;
    buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
    return true;
}

bool LineReader::readMore() {
    if (endOfFile_) {
        return false;
    }
    if (start_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
    }
    if (end_ == capacity_) {
        // One line fills the whole buffer: there is no limit on the length of a line.
        auto larger = std::make_unique_for_overwrite<char[]>(capacity_ * 2);
        std::memcpy(larger.get(), buffer_.get(), end_);
        buffer_ = std::move(larger);
        capacity_ *= 2;
    }
    ssize_t count;
    do {
        count = ::read(descriptor_, buffer_.get() + end_, capacity_ - end_);
    } while (count < 0 && errno == EINTR);
    if (count <= 0) {
        endOfFile_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(count);
    return true;
}

ByteOrderMark LineReader::takeByteOrderMark() {
    while (end_ - start_ < longestByteOrderMark && readMore()) {
    }
    const ByteOrderMark mark = byteOrderMarkOf(std::string_view(buffer_.get() + start_, end_ - start_));
    start_ += bytesOf(mark).size();
    return mark;
}

bool LineReader::hasMoreBytes() {
    if (start_ == end_ && !readMore()) {
        return false;
    }
    if (afterCarriageReturn_) {
        afterCarriageReturn_ = false;
        if (buffer_[start_] == '\n') {
            ++start_;
            if (start_ == end_ && !readMore()) {
                return false;
            }
        }
    }
    return true;
}

std::string_view LineReader::nextLine() {
    std::size_t searchFrom = start_;
    for (;;) {
        const char* const end = buffer_.get() + end_;
        const char* const lineEnd = findLineEnd(buffer_.get() + searchFrom, end);
        if (lineEnd != end) {
            const std::string_view line(buffer_.get() + start_, lineEnd - (buffer_.get() + start_));
            afterCarriageReturn_ = *lineEnd == '\r';
            start_ = static_cast<std::size_t>(lineEnd - buffer_.get()) + 1;
            return line;
        }
        const std::size_t searched = end_ - start_;
        if (!readMore()) {
            const std::string_view line(buffer_.get() + start_, end_ - start_);
            start_ = end_;
            return line;
        }
        searchFrom = start_ + searched;
    }
}
