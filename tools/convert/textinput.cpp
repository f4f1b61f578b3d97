#include "textinput.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "model/text.h"
#include "parser/byteordermark.h"
#include "parser/codepage.h"
#include "parser/quoting.h"
#include "parser/report.h"
#include "parser/utf8.h"

namespace {

bool isUtf8Name(const std::string& encoding) {
    return equalIgnoringAsciiCase(encoding, "UTF-8") || equalIgnoringAsciiCase(encoding, "UTF8");
}

// Refuses text that is not well-formed UTF-8, at the first line that is not.
void checkUtf8(std::string_view text) {
    if (isWellFormedUtf8(text)) {
        return;
    }
    LineSplitter lines(text);
    std::string_view content;
    std::string_view whole;
    for (std::uint64_t number = 1; lines.next(content, whole); ++number) {
        if (!isWellFormedUtf8(content)) {
            throw InputError(number, "the text is not well-formed UTF-8");
        }
    }
}

bool hasNonAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
}

// Each line decided on its own: well-formed UTF-8 as it is, anything else from Windows-1252. In a
// file that has UTF-8 beyond ASCII too (or a UTF-8 mark), each guessed line is reported; a file
// without any is a Windows-1252 file, reported once.
std::string_view decodedByLine(std::string_view bytes, bool markedUtf8, Reporter& reporter, std::string& text) {
    if (isWellFormedUtf8(bytes)) {
        return bytes;
    }
    text.clear();
    text.reserve(bytes.size() + bytes.size() / 2);
    std::string converted;
    std::vector<std::uint64_t> guessedLines;
    bool utf8Seen = markedUtf8;
    LineSplitter lines(bytes);
    std::string_view content;
    std::string_view whole;
    for (std::uint64_t number = 1; lines.next(content, whole); ++number) {
        if (isWellFormedUtf8(content)) {
            utf8Seen = utf8Seen || hasNonAscii(content);
            text += whole;
            continue;
        }
        guessedLines.push_back(number);
        convertAnsiToUtf8(content, converted);
        text += converted;
        text += whole.substr(content.size());
    }
    if (!utf8Seen) {
        reporter.warn(guessedLines.front(),
                      "the text is not UTF-8 and is read as Windows-1252 (--encoding names another encoding)");
    } else {
        for (const std::uint64_t number : guessedLines) {
            reporter.warn(number, "this line is not well-formed UTF-8 and is read as Windows-1252");
        }
    }
    return text;
}

// The number of the line (from 1) on which the end of the text stands.
std::uint64_t lineNumberAtEnd(std::string_view text) {
    LineSplitter lines(text);
    std::string_view content;
    std::string_view whole;
    std::uint64_t number = 1;
    while (lines.next(content, whole)) {
        number += whole.size() > content.size() ? 1 : 0;
    }
    return number;
}

class Converter {
public:
    explicit Converter(const std::string& encoding) : descriptor_(::iconv_open("UTF-8", encoding.c_str())) {
        // iconv_open reports failure as the pointer whose value is -1.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
            throw InputError(0, "unknown encoding " + quoted(encoding));
        }
    }
    ~Converter() { ::iconv_close(descriptor_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string converted(std::string_view bytes, const std::string& encoding) {
        std::string out(bytes.size() * 2 + 16, '\0');
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        std::size_t written = 0;
        while (inLeft > 0) {
            char* outAt = out.data() + written;
            std::size_t outLeft = out.size() - written;
            const std::size_t result = ::iconv(descriptor_, &in, &inLeft, &outAt, &outLeft);
            written = out.size() - outLeft;
            if (result != static_cast<std::size_t>(-1)) {
                break;
            }
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
            } else {
                out.resize(written);
                throw InputError(lineNumberAtEnd(out), "the text is not " + encoding);
            }
        }
        out.resize(written);
        return out;
    }

private:
    iconv_t descriptor_;
};

}  // namespace

void Reporter::print(const std::string& file, std::uint64_t line, const char* kind, const std::string& text) {
    printAtPlace(stream_, file.empty() ? fileName_ : file, line, kind + text);
}

void Reporter::skip(std::uint64_t line, const std::string& reason, const std::string& file) {
    if (strict_) {
        throw InputError(line, reason, file);
    }
    ++skipCount_;
    print(file, line, "skipped: ", reason);
}

void Reporter::warn(std::uint64_t line, const std::string& text) {
    print({}, line, "warning: ", text);
}

void Reporter::fail(const InputError& error) {
    print(error.file(), error.line(), "", error.what());
}

std::optional<std::size_t> plainNumber(std::string_view text) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t number = 0;
    for (const char digit : text) {
        number = number * 10 + static_cast<std::size_t>(digit - '0');
    }
    return number;
}

std::size_t LineSplitter::nextAfterStart(char byte, std::size_t& cached) const {
    // npos, for no such byte, stays right for every later start.
    if (searched_ && cached >= start_) {
        return cached;
    }
    const void* found = std::memchr(text_.data() + start_, byte, text_.size() - start_);
    cached = found == nullptr ? std::string_view::npos
                              : static_cast<std::size_t>(static_cast<const char*>(found) - text_.data());
    return cached;
}

bool LineSplitter::next(std::string_view& content, std::string_view& whole) {
    if (start_ >= text_.size()) {
        return false;
    }
    const std::size_t lineFeed = nextAfterStart('\n', nextLineFeed_);
    const std::size_t carriageReturn = nextAfterStart('\r', nextCarriageReturn_);
    searched_ = true;
    const std::size_t end = std::min({lineFeed, carriageReturn, text_.size()});
    std::size_t next = end == text_.size() ? end : end + 1;
    if (end == carriageReturn && next == lineFeed) {
        ++next;
    }
    content = text_.substr(start_, end - start_);
    whole = text_.substr(start_, next - start_);
    start_ = next;
    return true;
}

ByteBuffer::~ByteBuffer() {
    if (data_ != nullptr) {
        ::munmap(data_, capacity_);
    }
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

void ByteBuffer::reserve(std::size_t capacity) {
    if (capacity <= capacity_) {
        return;
    }
    constexpr std::size_t largePage = std::size_t{2} << 20;
    capacity = (std::max(capacity, capacity_ * 2) + largePage - 1) / largePage * largePage;
    void* grown = data_ == nullptr
                    ? ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                    : ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
    if (grown == MAP_FAILED) {
        throw std::bad_alloc();
    }
    ::madvise(grown, capacity, MADV_HUGEPAGE);
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
}

ByteBuffer readWholeFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throw InputError(0, std::strerror(errno));
    }
    struct stat status {};
    ByteBuffer bytes;
    // The size is a hint only: a file may grow or shrink while it is read.
    bytes.reserve(::fstat(descriptor, &status) == 0 && status.st_size > 0 ? static_cast<std::size_t>(status.st_size) + 1
                                                                          : 1 << 16);
    while (true) {
        if (bytes.spare() == 0) {
            bytes.reserve(bytes.view().size() + 1);
        }
        const ssize_t count = ::read(descriptor, bytes.end(), bytes.spare());
        if (count == 0) {
            break;
        }
        if (count < 0 && errno != EINTR) {
            const int reason = errno;
            ::close(descriptor);
            throw InputError(0, std::strerror(reason));
        }
        bytes.grow(count > 0 ? static_cast<std::size_t>(count) : 0);
    }
    ::close(descriptor);
    return bytes;
}

std::string_view decodedText(std::string_view bytes, const std::string& encoding, Reporter& reporter,
                             std::string& converted) {
    std::string chosen = encoding;
    if (chosen.empty()) {
        const ByteOrderMark mark = byteOrderMarkOf(bytes);
        bytes.remove_prefix(bytesOf(mark).size());
        if (mark == ByteOrderMark::none || mark == ByteOrderMark::utf8) {
            return decodedByLine(bytes, mark == ByteOrderMark::utf8, reporter, converted);
        }
        chosen = encodingNameOf(mark);
    }
    std::string_view text = bytes;
    if (isUtf8Name(chosen)) {
        checkUtf8(bytes);
    } else {
        converted = Converter(chosen).converted(bytes, chosen);
        text = converted;
    }
    // A named encoding keeps its mark through the conversion.
    if (text.starts_with(bytesOf(ByteOrderMark::utf8))) {
        text.remove_prefix(bytesOf(ByteOrderMark::utf8).size());
    }
    return text;
}
