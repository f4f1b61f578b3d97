#include "table.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <string>

#include "common/errors.h"
#include "common/number.h"
#include "linesplitter.h"
#include "model/text.h"

namespace {

constexpr std::array<char, 3> candidateSeparators = {'\t', ';', ','};
constexpr std::size_t recordsToSample = 20;

struct SeparatorName {
    std::string_view name;
    char separator;
};

constexpr SeparatorName separatorNames[] = {
    {"tab", '\t'}, {"comma", ','}, {"semicolon", ';'}, {"space", ' '}, {"pipe", '|'}, {"colon", ':'},
};

struct Reading {
    Record record;
    // The fields of a record that libcsv unquotes; the record's fields are views of these.
    std::vector<std::string> unquoted;
    const RecordSink* sink = nullptr;
    bool inRecord = false;
    // An exception must not unwind through the C parser; it waits here until the parser returns.
    std::exception_ptr failure;
};

void setField(Record& record, std::string_view field) {
    if (record.fieldCount == record.fields.size()) {
        record.fields.emplace_back();
    }
    record.fields[record.fieldCount++] = field;
}

void endField(void* bytes, std::size_t length, void* data) {
    auto* reading = static_cast<Reading*>(data);
    const std::size_t index = reading->record.fieldCount;
    if (index == reading->unquoted.size()) {
        reading->unquoted.emplace_back();
    }
    // The view is taken once the record is complete, when no string moves any more.
    reading->unquoted[index].assign(static_cast<const char*>(bytes), length);
    setField(reading->record, {});
}

void endRecord(int, void* data) {
    auto* reading = static_cast<Reading*>(data);
    for (std::size_t i = 0; i < reading->record.fieldCount; ++i) {
        reading->record.fields[i] = reading->unquoted[i];
    }
    if (!reading->failure) {
        try {
            (*reading->sink)(reading->record);
        } catch (...) {
            reading->failure = std::current_exception();
        }
    }
    reading->record.fieldCount = 0;
    reading->inRecord = false;
}

// The spaces and tabs that libcsv drops around a field that is not quoted; never the separator.
bool isFieldSpace(char byte, char separator) {
    return (byte == ' ' || byte == '\t') && byte != separator;
}

// A line that the parser passes over outside a record: nothing but such spaces.
bool isBlankLine(std::string_view line, char separator) {
    return std::all_of(line.begin(), line.end(), [separator](char byte) { return isFieldSpace(byte, separator); });
}

std::string_view withoutFieldSpace(std::string_view field, char separator) {
    while (!field.empty() && isFieldSpace(field.front(), separator)) {
        field.remove_prefix(1);
    }
    while (!field.empty() && isFieldSpace(field.back(), separator)) {
        field.remove_suffix(1);
    }
    return field;
}

// The fields of a line without quotation marks, the same as libcsv makes of it.
void splitPlainLine(std::string_view line, char separator, Record& record) {
    record.fieldCount = 0;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(line.find(separator, start), line.size());
        setField(record, withoutFieldSpace(line.substr(start, end - start), separator));
        if (end == line.size()) {
            return;
        }
        start = end + 1;
    }
}

class CsvParser {
public:
    explicit CsvParser(char separator) {
        if (csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI) != 0) {
            throw InputError(0, "out of memory");
        }
        csv_set_delim(&parser_, static_cast<unsigned char>(separator));
    }
    ~CsvParser() { csv_free(&parser_); }
    CsvParser(const CsvParser&) = delete;
    CsvParser& operator=(const CsvParser&) = delete;

    bool parse(std::string_view bytes, Reading& reading) {
        return csv_parse(&parser_, bytes.data(), bytes.size(), endField, endRecord, &reading) == bytes.size();
    }
    bool finish(Reading& reading) { return csv_fini(&parser_, endField, endRecord, &reading) == 0; }

private:
    csv_parser parser_{};
};

// Field counts of the first records for one separator, with quoted stretches left out.
std::vector<std::size_t> sampleFieldCounts(std::string_view text, char separator) {
    std::vector<std::size_t> counts;
    std::size_t fields = 1;
    bool quoted = false;
    bool blank = true;
    for (const char byte : text) {
        if (byte == '"') {
            quoted = !quoted;
        } else if (!quoted && byte == separator) {
            ++fields;
        } else if (!quoted && byte == '\n') {
            if (!blank) {
                counts.push_back(fields);
                if (counts.size() == recordsToSample) {
                    break;
                }
            }
            fields = 1;
            blank = true;
            continue;
        }
        blank = blank && (byte == ' ' || byte == '\r');
    }
    if (!blank && counts.size() < recordsToSample) {
        counts.push_back(fields);
    }
    return counts;
}

}  // namespace

char separatorNamed(std::string_view name) {
    for (const SeparatorName& named : separatorNames) {
        if (equalIgnoringAsciiCase(name, named.name)) {
            return named.separator;
        }
    }
    const bool usable =
        name.size() == 1 && name != "\"" && name != "\n" && name != "\r" && name != std::string_view("\0", 1);
    return usable ? name.front() : '\0';
}

char guessedSeparator(std::string_view text) {
    char best = ',';
    std::size_t bestScore = 0;
    for (const char separator : candidateSeparators) {
        const std::vector<std::size_t> counts = sampleFieldCounts(text, separator);
        if (counts.empty() || counts.front() < 2) {
            continue;
        }
        const auto score = static_cast<std::size_t>(std::count(counts.begin(), counts.end(), counts.front()));
        if (score > bestScore) {
            best = separator;
            bestScore = score;
        }
    }
    return best;
}

char separatorDeclared(std::string_view line) {
    constexpr std::string_view key = "sep=";
    const bool declares = line.size() == key.size() + 1 && equalIgnoringAsciiCase(line.substr(0, key.size()), key);
    return declares ? separatorNamed(line.substr(key.size())) : '\0';
}

std::optional<std::size_t> columnNumber(std::string_view text) {
    const std::optional<std::size_t> number = plainNumber(text);
    if (!number || *number == 0) {
        return std::nullopt;
    }
    return *number - 1;
}

void readRecords(std::string_view text, const TableSyntax& syntax, const RecordSink& sink) {
    const char separator = syntax.separator;
    CsvParser parser(separator);
    Reading reading;
    reading.sink = &sink;
    LineSplitter lines(text);
    std::string_view content;
    std::string_view whole;
    // Fed a line at a time so that every record knows the line where it starts.
    for (std::uint64_t lineNumber = syntax.firstLine; lines.next(content, whole); ++lineNumber) {
        if (!reading.inRecord) {
            if (isBlankLine(content, separator) || (syntax.hashComments && content.starts_with('#'))) {
                continue;
            }
            reading.record.line = lineNumber;
            if (syntax.splitPlainLines && content.find('"') == std::string_view::npos) {
                splitPlainLine(content, separator, reading.record);
                sink(reading.record);
                continue;
            }
            reading.record.fieldCount = 0;
            reading.inRecord = true;
        }
        const bool parsed = parser.parse(whole, reading);
        if (reading.failure) {
            std::rethrow_exception(reading.failure);
        }
        if (!parsed) {
            throw InputError(lineNumber, "a quotation mark out of place");
        }
    }
    const bool finished = parser.finish(reading);
    if (reading.failure) {
        std::rethrow_exception(reading.failure);
    }
    if (!finished) {
        throw InputError(reading.record.line, "a quoted field that is never closed");
    }
}

void appendRow(std::string& out, const std::vector<std::string>& fields, char separator) {
    const char needsQuotes[] = {separator, '"', '\r', '\n', '\0'};
    std::string quoted;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        const std::string& field = fields[i];
        if (field.find_first_of(needsQuotes, 0, sizeof needsQuotes - 1) == std::string::npos) {
            out += field;
            continue;
        }
        quoted.resize(field.size() * 2 + 2);
        quoted.resize(csv_write(quoted.data(), quoted.size(), field.data(), field.size()));
        out += quoted;
    }
    out += '\n';
}
