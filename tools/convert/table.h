#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One record of a table: the line on which it starts and its fields as they stand, unquoted, valid
// while the record is handed on. `fields` may hold more than the record has; the first
// `fieldCount` are its own.
struct Record {
    std::uint64_t line = 0;
    std::vector<std::string_view> fields;
    std::size_t fieldCount = 0;
};

using RecordSink = std::function<void(const Record&)>;

// How a text is cut into records.
struct TableSyntax {
    char separator = ',';
    // The number of the text's first line in its file.
    std::uint64_t firstLine = 1;
    // A line that starts with "#" where a record would start is a comment.
    bool hashComments = false;
    // A line without a quotation mark that starts a record is split at the separator directly,
    // which gives the fields that libcsv gives in a third less of the converter's time; false sends
    // every line through libcsv.
    bool splitPlainLines = true;
};

// The field separator of delimited text: tab, semicolon or comma, whichever splits the first
// records into the same number of fields most often. Comma when none of them does.
char guessedSeparator(std::string_view text);

// The separator that a name stands for: tab, comma, semicolon, space, pipe or colon in any case,
// or one character other than a quotation mark or a line end. 0 for anything else.
char separatorNamed(std::string_view name);

// The separator that a spreadsheet's first line "sep=X" names; 0 when the line is no such line.
char separatorDeclared(std::string_view line);

// A column number counted from 1 ("3"), as the 0-based column; nothing for anything else.
std::optional<std::size_t> columnNumber(std::string_view text);

// Reads delimited text with RFC 4180 quoting: a field in double quotes may hold the separator,
// line breaks and doubled quotes. Spaces and tabs around a field that is not quoted are dropped.
// Blank lines are no records; lines end at LF, CR or CR LF. Throws InputError for a quote out of
// place or left open.
void readRecords(std::string_view text, const TableSyntax& syntax, const RecordSink& sink);

// Appends one row of delimited text, quoting a field only where the reader needs it.
void appendRow(std::string& out, const std::vector<std::string>& fields, char separator);
