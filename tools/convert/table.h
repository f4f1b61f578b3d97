#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One record of a table: the line on which it starts and its fields as they stand, unquoted.
// `fields` may hold more strings than the record has; the first `fieldCount` are its own.
struct Record {
    std::uint64_t line = 0;
    std::vector<std::string> fields;
    std::size_t fieldCount = 0;
};

using RecordSink = std::function<void(const Record&)>;

// The field separator of delimited text: tab, semicolon or comma, whichever splits the first
// records into the same number of fields most often. Comma when none of them does.
char guessedSeparator(std::string_view text);

// The separator that a name stands for: tab, comma, semicolon, space, pipe or colon in any case,
// or one character other than a quotation mark or a line end. 0 for anything else.
char separatorNamed(std::string_view name);

// Reads delimited text with RFC 4180 quoting: a field in double quotes may hold the separator,
// line breaks and doubled quotes. Blank lines are no records. `firstLine` is the number of the
// text's first line in its file. Throws InputError for a quote out of place or left open.
void readRecords(std::string_view text, char separator, std::uint64_t firstLine, const RecordSink& sink);

// Appends one row of delimited text, quoting a field only where the reader needs it.
void appendRow(std::string& out, const std::vector<std::string>& fields, char separator);
