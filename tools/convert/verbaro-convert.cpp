// verbaro-convert: turns a table, a kvtml vocabulary or a flashcard export into a dictionary, or a
// dictionary into a table.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.h"
#include "common/quoting.h"
#include "common/usage.h"
#include "convert.h"
#include "table.h"

namespace {

constexpr std::string_view usageHead =
    "Usage: verbaro-convert [options] INPUT [-o OUTPUT]\n"
    "Turns a table (CSV, tab- or semicolon-separated), a kvtml vocabulary or a flashcard export into\n"
    "a dictionary, or a dictionary into a CSV or tab-separated table. OUTPUT \"-\" or no -o: standard\n"
    "output. A file is replaced only once the whole conversion has succeeded.\n";

constexpr std::string_view usageTail =
    "\n"
    "Fields are stripped of white space at both ends. Left out and reported (\"INPUT:LINE: skipped:\n"
    "why\") is every record without the word column or the first translation column; every entry\n"
    "whose word is empty, that has no translation, that has a line break, \"=\", \",\" or \";\" in a\n"
    "field, or whose word starts with \"@\"; an empty alternative; an empty translation column\n"
    "before one with text. In a flashcard export \"[sound:...]\" is left out of every field and a\n"
    "line starting with \"#\" is a comment. A table made of a dictionary has the header row\n"
    "\"words (separated by commas)\", \"translations (separated by commas)\"; a table that starts\n"
    "with that row reads back with its alternatives parted at \",\".\n"
    "Errors: \"FILE:LINE: message\" on standard error.\n"
    "Exit status: 0 done (perhaps with some left out), 1 the input or output failed or every entry\n"
    "was left out, 2 wrong usage (also --from and --to naming one language).\n";

struct NamedFormat {
    std::string_view name;
    Format format;
};

constexpr NamedFormat formatNames[] = {
    {"csv", Format::csv},
    {"tsv", Format::tsv},
    {"kvtml", Format::kvtml},
    {"flashcards", Format::flashcards},
    {"dictionary", Format::dictionary},
};

Format namedFormat(std::string_view name) {
    for (const NamedFormat& named : formatNames) {
        if (named.name == name) {
            return named.format;
        }
    }
    throw WrongUsage("unknown format " + quoted(name));
}

std::vector<std::size_t> namedColumns(std::string_view list) {
    std::vector<std::size_t> columns;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::optional<std::size_t> column = columnNumber(list.substr(start, end - start));
        if (!column) {
            throw WrongUsage("--columns wants column numbers from 1, such as 1,2 or 3,1,4");
        }
        columns.push_back(*column);
        start = end + 1;
    }
    if (columns.size() < 2) {
        throw WrongUsage("--columns wants the word column and at least one translation column");
    }
    return columns;
}

// One option of the command line: how it is written, what it does with its value, and its lines
// in the usage text.
struct Option {
    // The group of options that this one opens in the usage text; empty for none.
    std::string_view heading;
    std::string_view shortName;  // empty for none
    std::string_view longName;
    // What the usage text calls the value; empty for an option that takes none.
    std::string_view valueName;
    // Its lines in the usage text, parted by "\n".
    std::string_view help;
    // Null for the option that asks for the usage text.
    void (*apply)(const std::string& value, ConvertOptions& options);
};

constexpr Option commandLineOptions[] = {
    {"", "-o", "--output", "FILE", "where to write",
     [](const std::string& value, ConvertOptions& options) { options.output = value; }},
    {"", "", "--format", "FORMAT",
     "what INPUT is: csv, tsv, kvtml, flashcards or dictionary. Without it:\n"
     ".kvtml, .csv, .tsv and .tab by name; else by content: XML is kvtml, a\n"
     "first line \"#key:value\" a flashcard export, lines that are all\n"
     "directives, comments or entries with \"=\" a dictionary, the rest csv",
     [](const std::string& value, ConvertOptions& options) { options.format = namedFormat(value); }},
    {"", "", "--to-format", "FORMAT",
     "the table made of a dictionary: csv or tsv. Without it: tsv for an\n"
     "OUTPUT ending in .tsv, .tab or .txt, else csv",
     [](const std::string& value, ConvertOptions& options) {
         options.tableFormat = namedFormat(value);
         if (options.tableFormat != Format::csv && options.tableFormat != Format::tsv) {
             throw WrongUsage("--to-format takes csv or tsv");
         }
     }},
    {"", "-h", "--help", "", "this summary", nullptr},
    {"Reading tables (csv, tsv, flashcards):", "", "--separator", "SEP",
     "the field separator of a table read or written: one character, or tab,\n"
     "comma, semicolon, space, pipe, colon. Reading csv without it: a first\n"
     "line \"sep=X\" names it, else tab, semicolon or comma is guessed from the\n"
     "first records; tsv is tab",
     [](const std::string& value, ConvertOptions& options) {
         options.table.separator = separatorNamed(value);
         if (options.table.separator == 0) {
             throw WrongUsage("the separator must be tab, comma, semicolon, space, pipe, colon, or one character other "
                              "than a quotation mark or a line end");
         }
     }},
    {"", "", "--encoding", "NAME",
     "any iconv name. Without it: a byte order mark names UTF-8, UTF-16 or\n"
     "UTF-32; else each line is UTF-8 if it is well-formed UTF-8 and\n"
     "Windows-1252 if not, and each such Windows-1252 line is reported (only\n"
     "the first, in a file that has no UTF-8 beyond ASCII)",
     [](const std::string& value, ConvertOptions& options) { options.encoding = value; }},
    {"", "", "--header", "", "the first record is a header, not an entry",
     [](const std::string&, ConvertOptions& options) { options.table.header = true; }},
    {"", "", "--columns", "W,T[,T...]",
     "the word column and the translation columns, counted from 1; columns\n"
     "after the first translation become alternatives. Default: 1,2. A\n"
     "flashcard export's columns are its note fields (not its identifier,\n"
     "note type, deck or tags columns). Unread columns with text are reported",
     [](const std::string& value, ConvertOptions& options) { options.table.columns = namedColumns(value); }},
    {"", "", "--alternatives", "CHARS",
     "the characters that part alternatives inside a cell, such as , or ',;/':\n"
     "each item, stripped, becomes a word or a translation of its own",
     [](const std::string& value, ConvertOptions& options) {
         if (value.empty() || value.find_first_of("\"\n\r") != std::string::npos) {
             throw WrongUsage("--alternatives wants the characters that part alternatives, such as , or ',;/'");
         }
         options.table.alternatives = value;
     }},
    {"Reading kvtml:", "", "--from", "LANG",
     "the language of the word, by identifier id, locale or name, or by\n"
     "position counted from 0. Default: the first, or with only --to given\n"
     "the first language that --to does not name",
     [](const std::string& value, ConvertOptions& options) { options.languages.from = value; }},
    {"", "", "--to", "LANG",
     "the language of the translation, named the same way. Default: the\n"
     "second, or with only --from given the first language that --from does\n"
     "not name",
     [](const std::string& value, ConvertOptions& options) { options.languages.to = value; }},
    {"Writing a dictionary:", "", "--title", "TEXT", "its @title; default: INPUT's file name without its extension",
     [](const std::string& value, ConvertOptions& options) {
         options.title = value;
         options.titleGiven = true;
     }},
    {"", "", "--strict", "", "whatever is left out (see below) is an error instead of a warning",
     [](const std::string&, ConvertOptions& options) { options.strict = true; }},
};

// The width of the column in which the usage text names the options.
constexpr std::size_t synopsisWidth = 20;

std::string usage() {
    std::string text(usageHead);
    text += '\n';
    for (const Option& option : commandLineOptions) {
        if (!option.heading.empty()) {
            text += option.heading;
            text += '\n';
        }
        text += optionUsage(option.shortName, option.longName, option.valueName, option.help, synopsisWidth);
    }
    text += usageTail;
    return text;
}

// Reads the command line; returns false when only the help was asked for.
bool parseArguments(int argc, char** argv, ConvertOptions& options) {
    bool inputGiven = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            if (inputGiven) {
                throw WrongUsage("one INPUT only");
            }
            options.input = argument;
            inputGiven = true;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // A long option's value may follow "=" instead of being the next argument.
        std::optional<std::string> value;
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
        }
        const Option* const named = optionNamed<Option>(commandLineOptions, argument);
        if (named == nullptr) {
            throw WrongUsage("unknown option " + std::string(argument));
        }
        const Option& option = *named;
        const bool takesValue = !option.valueName.empty();
        if (value && !takesValue) {
            throw WrongUsage("unknown option " + std::string(argument));
        }
        if (takesValue && !value) {
            if (i + 1 == argc) {
                throw WrongUsage(std::string(argument) + " wants a value");
            }
            value = argv[++i];
        }
        if (option.apply == nullptr) {
            return false;
        }
        option.apply(value.value_or(""), options);
    }
    if (!inputGiven || options.input == "-") {
        throw WrongUsage("INPUT must name a file");
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ConvertOptions options;
    try {
        if (!parseArguments(argc, argv, options)) {
            std::fputs(usage().c_str(), stdout);
            return 0;
        }
    } catch (const WrongUsage& error) {
        std::fprintf(stderr, "verbaro-convert: %s\n%s", error.what(), usage().c_str());
        return 2;
    }
    return convert(options);
}
