#include "decoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "common/quoting.h"
#include "linesplitter.h"
#include "model/text.h"
#include "parser/byteordermark.h"
#include "parser/linedecoder.h"
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
    // Lines of a file with the UTF-8 mark are decided one by one too: the dictionary written has no
    // mark, so a stray byte in them must not pass through as it stands.
    LineDecoder decoder(ByteOrderMark::none);
    std::vector<std::uint64_t> guessedLines;
    bool utf8Seen = markedUtf8;
    LineSplitter lines(bytes);
    std::string_view content;
    std::string_view whole;
    for (std::uint64_t number = 1; lines.next(content, whole); ++number) {
        const std::string_view line = decoder.decoded(content);
        if (!decoder.readAsAnsi()) {
            utf8Seen = utf8Seen || hasNonAscii(content);
            text += whole;
            continue;
        }
        guessedLines.push_back(number);
        text += line;
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
