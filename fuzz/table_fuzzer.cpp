// Feeds the fuzzer's bytes to the table reader as a CSV file: decoded as the converter decodes a
// file without a named encoding, cut into records both through libcsv alone and with plain lines
// split directly (which must give the same records), then made into a dictionary whose lines must
// load as the entries written. The first byte picks the separator and the alternatives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../tools/convert/table.h"
#include "../tools/convert/tableentries.h"
#include "convertcheck.h"

namespace {

constexpr char separators[] = {'\0', ',', ';', '\t', '|', ' '};
constexpr std::string_view alternatives[] = {"", ",", ",;/"};

struct SeenRecord {
    std::uint64_t line;
    std::vector<std::string> fields;
    bool operator==(const SeenRecord&) const = default;
};

std::vector<SeenRecord> recordsOf(std::string_view text, TableSyntax syntax) {
    std::vector<SeenRecord> records;
    try {
        readRecords(text, syntax, [&records](const Record& record) {
            records.push_back(
                {record.line,
                 {record.fields.begin(), record.fields.begin() + static_cast<std::ptrdiff_t>(record.fieldCount)}});
        });
    } catch (const InputError& error) {
        records.push_back({error.line(), {error.what()}});
    }
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckedDictionary dictionary;
    std::string converted;
    std::string_view text;
    try {
        text = decodedText(bytes, "", dictionary.reporter(), converted);
    } catch (const InputError&) {
        return 0;
    }

    TableSyntax syntax;
    syntax.separator = separators[1 + choice % (sizeof separators - 1)];
    syntax.hashComments = (choice & 0x40) != 0;
    const std::vector<SeenRecord> split = recordsOf(text, syntax);
    syntax.splitPlainLines = false;
    if (recordsOf(text, syntax) != split) {
        std::abort();
    }

    TableOptions options;
    options.separator = separators[choice % sizeof separators];
    options.alternatives = alternatives[(choice >> 3) % 3];
    options.header = (choice & 0x80) != 0;
    try {
        readTable(text, '\0', options, dictionary.reporter(), dictionary.sink());
    } catch (const InputError&) {
        return 0;
    }
    dictionary.check();
    return 0;
}
