#include "textinput.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "model/text.h"
#include "parser/utf8.h"

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";

struct MarkedEncoding {
    std::string_view mark;
    const char* encoding;
};

// Longer marks first: FF FE 00 00 is UTF-32, not UTF-16 followed by a NUL.
constexpr MarkedEncoding markedEncodings[] = {
    {utf8Mark, "UTF-8"},
    {std::string_view("\xFF\xFE\0\0", 4), "UTF-32LE"},
    {std::string_view("\0\0\xFE\xFF", 4), "UTF-32BE"},
    {"\xFF\xFE", "UTF-16LE"},
    {"\xFE\xFF", "UTF-16BE"},
};

bool isUtf8Name(const std::string& encoding) {
    return equalIgnoringAsciiCase(encoding, "UTF-8") || equalIgnoringAsciiCase(encoding, "UTF8");
}

void checkUtf8(std::string_view text) {
    if (!isWellFormedUtf8(text)) {
        std::size_t lineStart = 0;
        while (true) {
            const std::size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
            if (!isWellFormedUtf8(text.substr(lineStart, lineEnd - lineStart))) {
                throw InputError(lineAt(text, lineStart), "the text is not well-formed UTF-8");
            }
            lineStart = lineEnd + 1;
        }
    }
}

class Converter {
public:
    explicit Converter(const std::string& encoding) : descriptor_(::iconv_open("UTF-8", encoding.c_str())) {
        // iconv_open reports failure as the pointer whose value is -1.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
            throw InputError(0, "unknown encoding \"" + encoding + "\"");
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
                throw InputError(lineAt(out, written), "the text is not " + encoding);
            }
        }
        out.resize(written);
        return out;
    }

private:
    iconv_t descriptor_;
};

}  // namespace

std::uint64_t lineAt(std::string_view text, std::size_t offset) {
    return 1
         + static_cast<std::uint64_t>(
               std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

std::string readWholeFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throw InputError(0, std::strerror(errno));
    }
    struct stat status {};
    std::string bytes;
    // The size is a hint only: a file may grow or shrink while it is read.
    bytes.resize(::fstat(descriptor, &status) == 0 && status.st_size > 0 ? static_cast<std::size_t>(status.st_size) + 1
                                                                         : 1 << 16);
    std::size_t filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t count = ::read(descriptor, bytes.data() + filled, bytes.size() - filled);
        if (count == 0) {
            break;
        }
        if (count < 0 && errno != EINTR) {
            const int reason = errno;
            ::close(descriptor);
            throw InputError(0, std::strerror(reason));
        }
        filled += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    ::close(descriptor);
    bytes.resize(filled);
    return bytes;
}

std::string decodedText(std::string bytes, const std::string& encoding) {
    std::string chosen = encoding;
    if (chosen.empty()) {
        for (const MarkedEncoding& marked : markedEncodings) {
            if (std::string_view(bytes).starts_with(marked.mark)) {
                chosen = marked.encoding;
                bytes.erase(0, marked.mark.size());
                break;
            }
        }
    }
    if (chosen.empty()) {
        chosen = isWellFormedUtf8(bytes) ? "UTF-8" : "WINDOWS-1252";
    }
    std::string text;
    if (isUtf8Name(chosen)) {
        checkUtf8(bytes);
        text = std::move(bytes);
    } else {
        text = Converter(chosen).converted(bytes, chosen);
    }
    // A named encoding keeps its mark through the conversion.
    if (std::string_view(text).starts_with(utf8Mark)) {
        text.erase(0, utf8Mark.size());
    }
    return text;
}
