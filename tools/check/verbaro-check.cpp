// verbaro-check: reads dictionary files as Verbaro Tool does and says what it found, or where and
// why it stopped.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "common/quoting.h"
#include "common/report.h"
#include "common/usage.h"
#include "lint.h"
#include "model/wordlist.h"
#include "parser/parser.h"

namespace {

struct Options {
    bool dump = false;
    bool lint = false;
    bool strict = false;
};

// One option of the command line: how it is written, what it does, and its lines in the usage text.
struct Option {
    std::string_view shortName;  // empty for none
    std::string_view longName;
    // Its lines in the usage text, parted by "\n".
    std::string_view help;
    // Null for the option that asks for the usage text.
    void (*apply)(Options& options);
};

constexpr Option commandLineOptions[] = {
    {"", "--dump",
     "also prints every entry read, one a line, in the order in which the word list\n"
     "keeps them (the last one read first):\n"
     "  [\"WORD\", \"WORD\"] = [\"TRANSLATION\"]\n"
     "A side without items shows as []. Every text stands in double quotes; in it\n"
     "\\\" and \\\\ stand for a quote and a backslash, \\n \\r \\t for line feed, carriage\n"
     "return and tab, \\u00XX for any other control character, and \\xNN for a byte\n"
     "that is not part of well-formed UTF-8. All other characters are printed as they are.",
     [](Options& options) { options.dump = true; }},
    {"", "--lint",
     "also warns on standard error, as they are read, about entries and imports that\n"
     "the drill would turn into silent annoyances, one a line:\n"
     "  FILE:LINE: warning: TEXT\n"
     "a word that another entry has too (the same when a guess of one matches the other:\n"
     "both in Unicode's composed form, NFC, and A to Z taken as a to z; said when the\n"
     "two are written in different Unicode forms), with the same or with other\n"
     "translations; an alternative given twice in one side; a side without items; an\n"
     "empty alternative; an invisible or non-breaking space (U+00A0, U+2000 to U+200B,\n"
     "U+202F, U+3000, U+FEFF and others); a word (a run of letters and marks) that mixes\n"
     "Latin, Greek and Cyrillic letters, which look alike; a file imported again, at its\n"
     "@import line. The entries of a file read again, and its imports, are not looked\n"
     "at again. The line on standard output ends in \", N warnings\".",
     [](Options& options) { options.lint = true; }},
    {"", "--strict", "as --lint, and a warning makes the exit status 1.",
     [](Options& options) {
         options.lint = true;
         options.strict = true;
     }},
    {"-h", "--help", "prints this summary.", nullptr},
};

// The width of the column in which the usage text names the options.
constexpr std::size_t synopsisWidth = 10;

std::string usage() {
    const LoadLimits limits;
    std::string text = "Usage: verbaro-check [--dump] [--lint] [--strict] FILE...\n"
                       "Reads each dictionary FILE with its imports, as Verbaro Tool does, and reports it.\n"
                       "\n"
                       "For each file, standard output gets one line:\n"
                       "  FILE: title \"TITLE\", N entries\n"
                       "or, when the file could not be read to the end,\n"
                       "  FILE: title \"TITLE\", N entries before the error\n"
                       "and standard error gets where the reading stopped and why:\n"
                       "  IMPORTED-FILE:LINE: MESSAGE\n"
                       "LINE is left out (\"IMPORTED-FILE: MESSAGE\") when the file itself could not be opened, or\n"
                       "when reading it would go past the bounds of one load ("
                     + std::to_string(limits.fileReads) + " file reads, " + std::to_string(limits.megabytesReadAgain())
                     + " MB read again).\n\n";
    for (const Option& option : commandLineOptions) {
        text += optionUsage(option.shortName, option.longName, "", option.help, synopsisWidth);
    }
    text += "\n"
            "Exit status: 0 when every file was read, 1 when one was not (or, with --strict, when there\n"
            "was a warning), 2 for wrong usage.\n";
    return text;
}

// Keeps the lines handed to the word list, so that its entries can be listed afterwards, and
// shows each to the linter, if there is one.
class CheckedWordList : public WordList {
public:
    void addEntry(const std::string& line) override {
        WordList::addEntry(line);
        lines_.push_back(line);
        if (linter_ != nullptr) {
            linter_->lookAtEntry(line);
        }
    }
    const std::vector<std::string>& lines() const { return lines_; }
    void setLinter(Linter* linter) { linter_ = linter; }

private:
    std::vector<std::string> lines_;
    Linter* linter_ = nullptr;
};

std::string quotedList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i == 0 ? "" : ", ") + quoted(items[i]);
    }
    return out + "]";
}

// Lists the entries as the word list holds them: each line's entry went in front of the others.
void dumpEntries(const CheckedWordList& words) {
    const std::vector<std::string>& lines = words.lines();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const WordEntry entry = entryFromLine(*line);
        std::printf("%s = %s\n", quotedList(entry.words()).c_str(), quotedList(entry.translations()).c_str());
    }
}

// Returns whether the file and all its imports were read, and, with --strict, without a warning.
bool check(const std::string& fileName, const Options& options) {
    CheckedWordList words;
    Parser parser(fileName, words);
    Linter linter(parser);
    if (options.lint) {
        words.setLinter(&linter);
    }
    bool complete = true;
    std::string failure;
    try {
        parser.parse();
    } catch (const std::exception& error) {
        complete = false;
        failure = error.what();
    }
    if (options.lint) {
        linter.lookAtNewReads();
    }
    if (!complete) {
        std::fflush(stdout);
        printAtPlace(stderr, parser.currentFile(), parser.currentLine(), failure);
    }
    const std::uint32_t count = words.remainingCount();
    std::printf("%s: title %s, %u %s%s", fileName.c_str(), quoted(words.title()).c_str(), count,
                count == 1 ? "entry" : "entries", complete ? "" : " before the error");
    const std::uint32_t warnings = linter.warningCount();
    if (options.lint) {
        std::printf(", %u %s", warnings, warnings == 1 ? "warning" : "warnings");
    }
    std::printf("\n");
    if (options.dump) {
        dumpEntries(words);
    }
    // The next file's warnings go to standard error as they are found: they come after this line.
    std::fflush(stdout);
    return complete && !(options.strict && warnings > 0);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            files.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (const Option* option = optionNamed<Option>(commandLineOptions, argument); option == nullptr) {
            std::fprintf(stderr, "verbaro-check: unknown option %s\n%s", argv[i], usage().c_str());
            return 2;
        } else if (option->apply == nullptr) {
            std::fputs(usage().c_str(), stdout);
            return 0;
        } else {
            option->apply(options);
        }
    }
    if (files.empty()) {
        std::fputs(usage().c_str(), stderr);
        return 2;
    }
    bool allPassed = true;
    for (const std::string& file : files) {
        allPassed = check(file, options) && allPassed;
    }
    return allPassed ? 0 : 1;
}
