#include "convert.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "dictionary.h"
#include "flashcards.h"
#include "model/text.h"
#include "table.h"
#include "tableentries.h"
#include "textinput.h"

namespace {

constexpr std::size_t linesToSample = 20;

std::string lowerCaseExtension(const std::string& fileName) {
    return asciiLowerCased(std::filesystem::path(fileName).extension().string());
}

// Every one of the first lines with something in it is a directive, a comment or an entry with an
// equals sign.
bool looksLikeDictionary(std::string_view text) {
    std::size_t sampled = 0;
    for (std::size_t start = 0; start < text.size() && sampled < linesToSample;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = stripped(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        ++sampled;
        if (!line.starts_with('@') && !line.starts_with(';') && line.find('=') == std::string_view::npos) {
            return false;
        }
    }
    return sampled > 0;
}

std::string dictionaryTitle(const ConvertOptions& options) {
    std::string title = options.titleGiven ? options.title : std::filesystem::path(options.input).stem().string();
    std::replace_if(
        title.begin(), title.end(), [](char byte) { return byte == '\n' || byte == '\r'; }, ' ');
    return std::string(stripped(title));
}

// The dictionary as text; the writer keeps it.
std::string_view dictionaryText(const ConvertOptions& options, Reporter& reporter, Format format,
                                std::string_view bytes, DictionaryWriter& writer) {
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
    return writer.text();
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

// Keeps the signals that end a process from arriving while the output file is written, so that
// an interrupted run cannot leave a temporary file behind; they take effect once it is done.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
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

// Writes the whole text to standard output, or to the file through a temporary file beside it
// that replaces the file only once it is complete. Returns an error message, empty when written.
std::string writeOutput(const std::string& target, std::string_view text) {
    if (target == "-") {
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0
                 ? ""
                 : std::strerror(errno);
    }
    const EndingSignalsHeld held;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    // A file that is replaced keeps its permissions, and a link named as the output keeps
    // pointing where it did: the file behind it is the one replaced.
    std::string file = target;
    mode_t mode = 0666 & ~mask;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 07777;
        std::error_code failure;
        const std::filesystem::path resolved = std::filesystem::canonical(target, failure);
        if (!failure) {
            file = resolved.string();
        }
    }
    std::string temporary = file + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return std::strerror(errno);
    }
    bool written = ::fchmod(descriptor, mode) == 0;
    for (std::size_t done = 0; written && done < text.size();) {
        const ssize_t count = ::write(descriptor, text.data() + done, text.size() - done);
        written = count > 0 || (count < 0 && errno == EINTR);
        done += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    int reason = errno;
    if (::close(descriptor) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (written) {
        if (::rename(temporary.c_str(), file.c_str()) == 0) {
            return {};
        }
        reason = errno;
    }
    ::unlink(temporary.c_str());
    return std::strerror(reason);
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
    // A spreadsheet's "Unicode text" is a UTF-16 table.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return Format::csv;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
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
    std::optional<DictionaryWriter> writer;
    std::string table;
    std::string_view text;
    try {
        // The parser reads a dictionary itself, so the bytes read here serve only the other formats.
        const ByteBuffer bytes = options.format == Format::dictionary ? ByteBuffer() : readWholeFile(options.input);
        const Format format =
            options.format == Format::guessed ? guessedFormat(options.input, bytes.view()) : options.format;
        if (format != Format::dictionary && options.tableFormat != Format::guessed
            && options.tableFormat != Format::dictionary) {
            throw WrongUsage("only a dictionary is turned into a table");
        }
        if (format == Format::dictionary) {
            table = tableText(options);
            text = table;
        } else {
            // A dictionary line holds about as many bytes as the record it comes from.
            writer.emplace(dictionaryTitle(options), reporter, bytes.view().size() + bytes.view().size() / 8);
            text = dictionaryText(options, reporter, format, bytes.view(), *writer);
        }
    } catch (const InputError& error) {
        reporter.fail(error);
        return 1;
    } catch (const WrongUsage& error) {
        std::fprintf(stderr, "verbaro-convert: %s\n", error.what());
        return 2;
    }
    if (const std::string failure = writeOutput(options.output, text); !failure.empty()) {
        std::fprintf(stderr, "%s: %s\n", options.output.c_str(), failure.c_str());
        return 1;
    }
    return 0;
}
