#include "convert.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "common/errors.h"
#include "common/report.h"
#include "decoding.h"
#include "dictionary.h"
#include "flashcards.h"
#include "linesplitter.h"
#include "model/text.h"
#include "model/wordlist.h"
#include "parser/byteordermark.h"
#include "parser/dictionaryline.h"
#include "parser/linereader.h"
#include "table.h"
#include "tableentries.h"
#include "wholefile.h"

namespace {

constexpr std::size_t linesToSample = 20;
constexpr int endingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

std::string lowerCaseExtension(const std::string& fileName) {
    return asciiLowerCased(std::filesystem::path(fileName).extension().string());
}

// Every one of the first lines with something in it is a directive, a comment or an entry with an
// equals sign.
bool looksLikeDictionary(std::string_view text) {
    LineSplitter lines(text);
    std::string_view content;
    std::string_view whole;
    std::size_t sampled = 0;
    while (sampled < linesToSample && lines.next(content, whole)) {
        const std::string_view line = stripped(content);
        const LineKind kind = lineKindOf(line);
        if (kind == LineKind::blank) {
            continue;
        }
        ++sampled;
        if (kind == LineKind::entry && line.find(sideSeparator) == std::string_view::npos) {
            return false;
        }
    }
    return sampled > 0;
}

std::string dictionaryTitle(const ConvertOptions& options) {
    std::string title = options.titleGiven ? options.title : std::filesystem::path(options.input).stem().string();
    std::replace_if(title.begin(), title.end(), isLineEnd, ' ');
    return std::string(stripped(title));
}

std::string tableText(const ConvertOptions& options) {
    Format tableFormat = options.tableFormat;
    if (tableFormat == Format::guessed) {
        const std::string extension = lowerCaseExtension(options.output);
        tableFormat = extension == ".tsv" || extension == ".tab" || extension == ".txt" ? Format::tsv : Format::csv;
    }
    const char separator = options.table.separator != '\0' ? options.table.separator
                         : tableFormat == Format::tsv      ? '\t'
                                                           : ',';
    std::string text;
    appendRow(text, {std::string(wordsHeader), std::string(translationsHeader)}, separator);
    readDictionaryRows(options.input,
                       [&text, separator](const std::vector<std::string>& row) { appendRow(text, row, separator); });
    return text;
}

// Keeps the signals that end a process from arriving while the output file takes its place.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int signal : endingSignals) {
            sigaddset(&ending, signal);
        }
        ::sigprocmask(SIG_BLOCK, &ending, &previous_);
    }
    ~EndingSignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t previous_{};
};

// The temporary file that a signal ending the process removes first.
std::atomic<const char*> temporaryToRemove{nullptr};

void removeTemporaryAndEnd(int signal) {
    if (const char* temporary = temporaryToRemove.load(); temporary != nullptr) {
        ::unlink(temporary);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Where the result goes. Standard output gets it all at once, at the end. A file gets it through a
// temporary file beside it, written as the result grows and put in the file's place once complete;
// it is removed when the conversion fails or a signal ends it.
class Output {
public:
    explicit Output(const std::string& target) : target_(target) {
        if (target == "-") {
            return;
        }
        const mode_t mask = ::umask(0);
        ::umask(mask);
        // A file that is replaced keeps its permissions, and a link named as the output keeps
        // pointing where it did: the file behind it is the one replaced.
        file_ = target;
        mode_t mode = 0666 & ~mask;
        struct stat existing {};
        if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
            mode = existing.st_mode & 07777;
            std::error_code failure;
            const std::filesystem::path resolved = std::filesystem::canonical(target, failure);
            if (!failure) {
                file_ = resolved.string();
            }
        }
        temporary_ = file_ + ".XXXXXX";
        for (const int signal : endingSignals) {
            ::signal(signal, removeTemporaryAndEnd);
        }
        const EndingSignalsHeld held;
        descriptor_ = ::mkstemp(temporary_.data());
        if (descriptor_ < 0) {
            error_ = errno;
            return;
        }
        temporaryToRemove = temporary_.c_str();
        if (::fchmod(descriptor_, mode) != 0) {
            error_ = errno;
        }
    }
    ~Output() {
        if (descriptor_ >= 0) {
            const EndingSignalsHeld held;
            ::close(descriptor_);
            ::unlink(temporary_.c_str());
            temporaryToRemove = nullptr;
        }
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Why the output cannot be written; empty while it can.
    std::string failure() const { return error_ == 0 ? "" : std::strerror(error_); }

    void write(std::string_view text) {
        if (target_ == "-") {
            standardOutput_.append(text);
            return;
        }
        while (error_ == 0 && !text.empty()) {
            const ssize_t count = ::write(descriptor_, text.data(), text.size());
            if (count < 0 && errno != EINTR) {
                error_ = errno;
            }
            text.remove_prefix(count > 0 ? static_cast<std::size_t>(count) : 0);
        }
    }

    // Puts the output in place; returns why it could not, empty when done.
    std::string commit() {
        if (target_ == "-") {
            const std::string_view text = standardOutput_.view();
            return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0
                     ? ""
                     : std::strerror(errno);
        }
        const EndingSignalsHeld held;
        if (::close(std::exchange(descriptor_, -1)) != 0 && error_ == 0) {
            error_ = errno;
        }
        if (error_ == 0 && ::rename(temporary_.c_str(), file_.c_str()) != 0) {
            error_ = errno;
        }
        if (error_ != 0) {
            ::unlink(temporary_.c_str());
        }
        temporaryToRemove = nullptr;
        return failure();
    }

private:
    std::string target_;
    std::string file_;
    std::string temporary_;
    int descriptor_ = -1;
    int error_ = 0;
    ByteBuffer standardOutput_;
};

void writeDictionary(const ConvertOptions& options, Reporter& reporter, Format format, std::string_view bytes,
                     Output& output) {
    // Written out a block at a time, so that the text is never all in memory.
    DictionaryWriter writer(dictionaryTitle(options), reporter,
                            [&output](std::string_view text) { output.write(text); });
    const PairSink sink = [&writer](const Pair& pair) { writer.add(pair); };
    if (format == Format::kvtml) {
        readKvtml(bytes, options.encoding, options.languages, options.table.alternatives, reporter, sink);
    } else {
        std::string converted;
        const std::string_view text = decodedText(bytes, options.encoding, reporter, converted);
        if (format == Format::flashcards) {
            readFlashcards(text, options.table, reporter, sink);
        } else {
            readTable(text, format == Format::tsv ? '\t' : '\0', options.table, reporter, sink);
        }
    }
    if (writer.entryCount() == 0 && reporter.skipCount() > 0) {
        throw InputError(0, "no entry was written: every one was left out");
    }
    writer.finish();
}

}  // namespace

Format guessedFormat(const std::string& fileName, std::string_view bytes) {
    const std::string extension = lowerCaseExtension(fileName);
    if (extension == ".kvtml") {
        return Format::kvtml;
    }
    if (extension == ".csv") {
        return Format::csv;
    }
    if (extension == ".tsv" || extension == ".tab") {
        return Format::tsv;
    }
    // A spreadsheet's "Unicode text" is a UTF-16 table; no dictionary is UTF-16 or UTF-32.
    const ByteOrderMark mark = byteOrderMarkOf(bytes);
    if (mark != ByteOrderMark::none && mark != ByteOrderMark::utf8) {
        return Format::csv;
    }
    bytes.remove_prefix(bytesOf(mark).size());
    const std::string_view start = stripped(bytes.substr(0, 64));
    if (start.starts_with("<?xml") || start.starts_with("<kvtml") || start.starts_with("<!DOCTYPE")) {
        return Format::kvtml;
    }
    if (looksLikeFlashcards(bytes)) {
        return Format::flashcards;
    }
    return looksLikeDictionary(bytes) ? Format::dictionary : Format::csv;
}

int convert(const ConvertOptions& options) {
    Reporter reporter(options.input, options.strict);
    Output output(options.output);
    if (const std::string failure = output.failure(); !failure.empty()) {
        printAtPlace(stderr, options.output, 0, failure);
        return 1;
    }
    try {
        // The parser reads a dictionary itself, so the bytes read here serve only the other formats.
        const ByteBuffer bytes = options.format == Format::dictionary ? ByteBuffer() : readWholeFile(options.input);
        const Format format =
            options.format == Format::guessed ? guessedFormat(options.input, bytes.view()) : options.format;
        if (format != Format::dictionary && options.tableFormat != Format::guessed) {
            throw WrongUsage("only a dictionary is turned into a table");
        }
        if (format == Format::dictionary) {
            output.write(tableText(options));
        } else {
            writeDictionary(options, reporter, format, bytes.view(), output);
        }
    } catch (const InputError& error) {
        reporter.fail(error);
        return 1;
    } catch (const WrongUsage& error) {
        std::fprintf(stderr, "verbaro-convert: %s\n", error.what());
        return 2;
    }
    if (const std::string failure = output.commit(); !failure.empty()) {
        printAtPlace(stderr, options.output, 0, failure);
        return 1;
    }
    return 0;
}
