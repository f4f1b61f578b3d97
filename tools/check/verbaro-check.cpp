// verbaro-check: reads dictionary files as Verbaro Tool does and says what it found, or where and
// why it stopped.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "model/wordlist.h"
#include "parser/parser.h"
#include "parser/utf8.h"

namespace {

constexpr const char* usage =
    "Usage: verbaro-check [--dump] FILE...\n"
    "Reads each dictionary FILE with its imports, as Verbaro Tool does, and reports it.\n"
    "\n"
    "For each file, standard output gets one line:\n"
    "  FILE: title \"TITLE\", N entries\n"
    "or, when the file could not be read to the end,\n"
    "  FILE: title \"TITLE\", N entries before the error\n"
    "and standard error gets where the reading stopped and why:\n"
    "  IMPORTED-FILE:LINE: MESSAGE\n"
    "LINE is left out (\"IMPORTED-FILE: MESSAGE\") when the file itself could not be opened.\n"
    "\n"
    "  --dump  also prints every entry read, one a line, in the order in which the word list\n"
    "          keeps them (the last one read first):\n"
    "            [\"WORD\", \"WORD\"] = [\"TRANSLATION\"]\n"
    "          A side without items shows as []. Every text stands in double quotes; in it\n"
    "          \\\" and \\\\ stand for a quote and a backslash, \\n \\r \\t for line feed, carriage\n"
    "          return and tab, \\u00XX for any other control character, and \\xNN for a byte\n"
    "          that is not part of well-formed UTF-8. All other characters are printed as they are.\n"
    "\n"
    "Exit status: 0 when every file was read, 1 when one was not, 2 for wrong usage.\n";

// Keeps the lines handed to the word list, so that its entries can be listed afterwards.
class RecordingWordList : public WordList {
public:
    void addEntry(const std::string& line) override {
        WordList::addEntry(line);
        lines_.push_back(line);
    }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    char escape[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            out += escape;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if (const std::size_t length = utf8SequenceLength(byte);
                   length != 0 && isWellFormedUtf8(text.substr(i, length))) {
            out += text.substr(i, length);
            i += length - 1;
        } else {
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        }
    }
    out += '"';
    return out;
}

std::string quotedList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i == 0 ? "" : ", ") + quoted(items[i]);
    }
    return out + "]";
}

// Lists the entries as the word list holds them: each line's entry went in front of the others.
void dumpEntries(const RecordingWordList& words) {
    const std::vector<std::string>& lines = words.lines();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const WordEntry entry = entryFromLine(*line);
        std::printf("%s = %s\n", quotedList(entry.words()).c_str(), quotedList(entry.translations()).c_str());
    }
}

// Returns whether the file and all its imports were read.
bool check(const std::string& fileName, bool dump) {
    RecordingWordList words;
    Parser parser(fileName, words);
    bool complete = true;
    try {
        parser.parse();
    } catch (const std::exception& error) {
        complete = false;
        std::fflush(stdout);
        if (parser.currentLine() == 0) {
            std::fprintf(stderr, "%s: %s\n", parser.currentFile().c_str(), error.what());
        } else {
            std::fprintf(stderr, "%s:%llu: %s\n", parser.currentFile().c_str(),
                         static_cast<unsigned long long>(parser.currentLine()), error.what());
        }
    }
    const std::uint32_t count = words.remainingCount();
    std::printf("%s: title %s, %u %s%s\n", fileName.c_str(), quoted(words.title()).c_str(), count,
                count == 1 ? "entry" : "entries", complete ? "" : " before the error");
    if (dump) {
        dumpEntries(words);
    }
    return complete;
}

}  // namespace

int main(int argc, char** argv) {
    bool dump = false;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            files.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--dump") {
            dump = true;
        } else if (argument == "--help" || argument == "-h") {
            std::fputs(usage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "verbaro-check: unknown option %s\n%s", argv[i], usage);
            return 2;
        }
    }
    if (files.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    bool allRead = true;
    for (const std::string& file : files) {
        allRead = check(file, dump) && allRead;
    }
    return allRead ? 0 : 1;
}
