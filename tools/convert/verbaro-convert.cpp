// verbaro-convert: turns a table, a kvtml vocabulary or a flashcard export into a dictionary, or a
// dictionary into a table.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "common/errors.h"
#include "common/quoting.h"
#include "convert.h"
#include "table.h"

namespace {

constexpr const char* usage =
    "Usage: verbaro-convert [options] INPUT [-o OUTPUT]\n"
    "Turns a table (CSV, tab- or semicolon-separated), a kvtml vocabulary or a flashcard export into\n"
    "a dictionary, or a dictionary into a CSV or tab-separated table. OUTPUT \"-\" or no -o: standard\n"
    "output. A file is replaced only once the whole conversion has succeeded.\n"
    "\n"
    "  -o, --output FILE    where to write\n"
    "  --format FORMAT      what INPUT is: csv, tsv, kvtml, flashcards or dictionary. Without it:\n"
    "                       .kvtml, .csv, .tsv and .tab by name; else by content: XML is kvtml, a\n"
    "                       first line \"#key:value\" a flashcard export, lines that are all\n"
    "                       directives, comments or entries with \"=\" a dictionary, the rest csv\n"
    "  --to-format FORMAT   the table made of a dictionary: csv or tsv. Without it: tsv for an\n"
    "                       OUTPUT ending in .tsv, .tab or .txt, else csv\n"
    "\n"
    "Reading tables (csv, tsv, flashcards):\n"
    "  --separator SEP      the field separator of a table read or written: one character, or tab,\n"
    "                       comma, semicolon, space, pipe, colon. Reading csv without it: a first\n"
    "                       line \"sep=X\" names it, else tab, semicolon or comma is guessed from the\n"
    "                       first records; tsv is tab\n"
    "  --encoding NAME      any iconv name. Without it: a byte order mark names UTF-8, UTF-16 or\n"
    "                       UTF-32; else each line is UTF-8 if it is well-formed UTF-8 and\n"
    "                       Windows-1252 if not, and each such Windows-1252 line is reported (only\n"
    "                       the first, in a file that has no UTF-8 beyond ASCII)\n"
    "  --header             the first record is a header, not an entry\n"
    "  --columns W,T[,T...] the word column and the translation columns, counted from 1; columns\n"
    "                       after the first translation become alternatives. Default: 1,2. A\n"
    "                       flashcard export's columns are its note fields (not its identifier,\n"
    "                       note type, deck or tags columns). Unread columns with text are reported\n"
    "  --alternatives CHARS the characters that part alternatives inside a cell, such as , or ',;/':\n"
    "                       each item, stripped, becomes a word or a translation of its own\n"
    "Reading kvtml:\n"
    "  --from LANG, --to LANG  the languages of the word and of the translation, by identifier id,\n"
    "                       locale or name, or by position counted from 0. Default: the first two;\n"
    "                       with only one given, the other is the first language it does not name\n"
    "Writing a dictionary:\n"
    "  --title TEXT         its @title; default: INPUT's file name without its extension\n"
    "  --strict             whatever is left out (see below) is an error instead of a warning\n"
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

constexpr std::string_view valueOptions[] = {
    "-o",        "--output", "--format", "--to-format", "--separator",    "--encoding",
    "--columns", "--from",   "--to",     "--title",     "--alternatives",
};

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
        if (argument == "--help" || argument == "-h") {
            return false;
        }
        if (argument == "--header" || argument == "--strict") {
            (argument == "--header" ? options.table.header : options.strict) = true;
            continue;
        }
        // Every other option takes a value, as the next argument or after "=".
        std::string value;
        bool valueGiven = false;
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
            valueGiven = true;
        }
        if (std::find(std::begin(valueOptions), std::end(valueOptions), argument) == std::end(valueOptions)) {
            throw WrongUsage("unknown option " + std::string(argument));
        }
        if (!valueGiven) {
            if (i + 1 == argc) {
                throw WrongUsage(std::string(argument) + " wants a value");
            }
            value = argv[++i];
        }
        if (argument == "-o" || argument == "--output") {
            options.output = value;
        } else if (argument == "--format") {
            options.format = namedFormat(value);
        } else if (argument == "--to-format") {
            options.tableFormat = namedFormat(value);
        } else if (argument == "--separator") {
            options.table.separator = separatorNamed(value);
            if (options.table.separator == 0) {
                throw WrongUsage(
                    "the separator must be tab, comma, semicolon, space, pipe, colon, or one character other "
                    "than a quotation mark or a line end");
            }
        } else if (argument == "--encoding") {
            options.encoding = value;
        } else if (argument == "--columns") {
            options.table.columns = namedColumns(value);
        } else if (argument == "--from") {
            options.languages.from = value;
        } else if (argument == "--to") {
            options.languages.to = value;
        } else if (argument == "--alternatives") {
            if (value.empty() || value.find_first_of("\"\n\r") != std::string::npos) {
                throw WrongUsage("--alternatives wants the characters that part alternatives, such as , or ',;/'");
            }
            options.table.alternatives = value;
        } else if (argument == "--title") {
            options.title = value;
            options.titleGiven = true;
        }
    }
    if (!inputGiven || options.input == "-") {
        throw WrongUsage("INPUT must name a file");
    }
    const bool tableAsked = options.tableFormat == Format::csv || options.tableFormat == Format::tsv;
    if (options.tableFormat != Format::guessed && options.tableFormat != Format::dictionary && !tableAsked) {
        throw WrongUsage("--to-format takes csv, tsv or dictionary");
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ConvertOptions options;
    try {
        if (!parseArguments(argc, argv, options)) {
            std::fputs(usage, stdout);
            return 0;
        }
    } catch (const WrongUsage& error) {
        std::fprintf(stderr, "verbaro-convert: %s\n%s", error.what(), usage);
        return 2;
    }
    return convert(options);
}
