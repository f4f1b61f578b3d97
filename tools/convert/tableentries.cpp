#include "tableentries.h"

#include <algorithm>
#include <utility>

#include "common/quoting.h"
#include "flashcards.h"
#include "linesplitter.h"
#include "model/text.h"

namespace {

constexpr std::size_t none = static_cast<std::size_t>(-1);

void setTrue(std::vector<bool>& flags, std::size_t index) {
    if (flags.size() <= index) {
        flags.resize(index + 1);
    }
    flags[index] = true;
}

// "3", "3 and 4", "3, 4 and 6".
std::string listed(const std::vector<std::size_t>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text += i == 0 ? "" : i + 1 == numbers.size() ? " and " : ", ";
        text += std::to_string(numbers[i]);
    }
    return text;
}

}  // namespace

EntriesFromRecords::EntriesFromRecords(const TableOptions& options, RecordLayout layout, Reporter& reporter,
                                       const PairSink& sink)
    : layout_(std::move(layout)),
      alternatives_(options.alternatives),
      alternativesGiven_(!options.alternatives.empty()),
      skipNext_(options.header),
      reporter_(reporter),
      sink_(sink) {
    for (const std::size_t column : options.columns.empty() ? std::vector<std::size_t>{0, 1} : options.columns) {
        columns_.push_back(recordColumn(column));
        setTrue(read_, columns_.back());
    }
    for (const std::size_t column : layout_.uncounted) {
        setTrue(read_, column);
    }
    shown_.resize(columns_.size());
}

// The user's 0-based number of a column of the record; for the record's size, its counted columns.
std::size_t EntriesFromRecords::counted(std::size_t column) const {
    return column
         - static_cast<std::size_t>(std::count_if(layout_.uncounted.begin(), layout_.uncounted.end(),
                                                  [column](std::size_t uncounted) { return uncounted < column; }));
}

std::size_t EntriesFromRecords::recordColumn(std::size_t countedColumn) const {
    std::size_t column = countedColumn;
    for (const std::size_t uncounted : layout_.uncounted) {
        column += uncounted <= column ? 1 : 0;
    }
    return column;
}

bool EntriesFromRecords::isOwnHeader(const Record& record) const {
    if (record.fieldCount < 2 || !equalIgnoringAsciiCase(stripped(record.fields[0]), wordsHeader)
        || !equalIgnoringAsciiCase(stripped(record.fields[1]), translationsHeader)) {
        return false;
    }
    return std::all_of(record.fields.begin() + 2,
                       record.fields.begin() + static_cast<std::ptrdiff_t>(record.fieldCount),
                       [](std::string_view field) { return stripped(field).empty(); });
}

void EntriesFromRecords::take(const Record& record) {
    // The header row of a table made of a dictionary is the header that --header means too.
    if (std::exchange(firstRecord_, false) && layout_.ownHeader && isOwnHeader(record)) {
        alternatives_ = alternativesGiven_ ? alternatives_ : ",";
        skipNext_ = false;
        return;
    }
    if (std::exchange(skipNext_, false)) {
        return;
    }
    if (tooShort(record)) {
        return;
    }
    noteUnread(record);
    pair_.line = record.line;
    pair_.words.clear();
    pair_.translations.clear();
    std::size_t emptyColumn = none;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const std::size_t column = columns_[i];
        if (column >= record.fieldCount) {
            continue;
        }
        std::vector<std::string_view>& side = i == 0 ? pair_.words : pair_.translations;
        const std::size_t itemsBefore = side.size();
        if (appendItems(cellText(i, record.fields[column], record.line), alternatives_, side) > 0) {
            reporter_.skip(record.line, "an empty alternative in " + quoted(stripped(record.fields[column])));
        }
        // An empty cell among the translations is worth a word only before one with text.
        if (i > 0 && side.size() == itemsBefore) {
            emptyColumn = emptyColumn == none ? column : emptyColumn;
        } else if (i > 0 && emptyColumn != none) {
            reporter_.skip(record.line,
                           "the empty " + std::string(layout_.noun) + " " + std::to_string(counted(emptyColumn) + 1));
            emptyColumn = none;
        }
    }
    sink_(pair_);
}

bool EntriesFromRecords::tooShort(const Record& record) {
    const std::size_t countedFields = counted(record.fieldCount);
    mostCountedColumns_ = std::max(mostCountedColumns_, countedFields);
    // Rows may end before their last alternatives; the word and one translation must be there.
    for (std::size_t i = 0; i < 2; ++i) {
        if (columns_[i] < record.fieldCount) {
            continue;
        }
        const std::string noun(layout_.noun);
        std::string reason = "no " + noun + " " + std::to_string(counted(columns_[i]) + 1)
                           + " in this record, which has " + std::to_string(countedFields);
        if (mostCountedColumns_ <= 1 && !std::exchange(separatorHinted_, true)) {
            reason += "; as no record so far has more, perhaps " + quoted(std::string(1, layout_.separator))
                    + " is not the separator (--separator names it) or the file is no table (--format names what "
                      "it is)";
        }
        reporter_.skip(record.line, reason);
        return true;
    }
    return false;
}

std::string_view EntriesFromRecords::cellText(std::size_t index, std::string_view field, std::uint64_t line) {
    std::string_view text = field;
    std::size_t media = 0;
    if (layout_.mediaReferences && (media = withoutSoundReferences(text, withoutMedia_)) > 0) {
        text = withoutMedia_;
    }
    if (layout_.html) {
        shown_[index] = htmlFieldText(text, &media);
        text = shown_[index];
    } else if (media > 0) {
        shown_[index] = withoutMedia_;
        text = shown_[index];
    }
    if (media > 0) {
        firstMediaLine_ = cellsWithMedia_++ == 0 ? line : firstMediaLine_;
    }
    return text;
}

void EntriesFromRecords::noteUnread(const Record& record) {
    bool unread = false;
    for (std::size_t column = 0; column < record.fieldCount; ++column) {
        if ((column < read_.size() && read_[column]) || stripped(record.fields[column]).empty()) {
            continue;
        }
        setTrue(unreadWithText_, column);
        unread = true;
    }
    recordsWithUnreadText_ += unread ? 1 : 0;
}

void EntriesFromRecords::finish() {
    if (recordsWithUnreadText_ > 0) {
        std::vector<std::size_t> unread;
        for (std::size_t column = 0; column < unreadWithText_.size(); ++column) {
            if (unreadWithText_[column]) {
                unread.push_back(counted(column) + 1);
            }
        }
        std::string columns;
        for (const std::size_t column : columns_) {
            columns += std::to_string(counted(column) + 1) + ",";
        }
        for (const std::size_t number : unread) {
            columns += std::to_string(number) + ",";
        }
        columns.pop_back();
        const bool one = unread.size() == 1;
        reporter_.warn(0, std::string(layout_.noun) + (one ? " " : "s ") + listed(unread) + (one ? " has" : " have")
                              + " text in " + std::to_string(recordsWithUnreadText_) + " records and "
                              + (one ? "was" : "were") + " not read; --columns " + columns + " reads "
                              + (one ? "it" : "them") + " as further translations");
    }
    if (cellsWithMedia_ > 0) {
        reporter_.warn(firstMediaLine_, "media references ([sound:...], images) were left out of "
                                            + std::to_string(cellsWithMedia_)
                                            + (cellsWithMedia_ == 1 ? " cell" : " cells") + ", the first on this line");
    }
}

void readTable(std::string_view text, char formatSeparator, const TableOptions& options, Reporter& reporter,
               const PairSink& sink) {
    TableSyntax syntax;
    LineSplitter lines(text);
    std::string_view firstLine;
    std::string_view whole;
    const char declared = lines.next(firstLine, whole) ? separatorDeclared(firstLine) : '\0';
    if (declared != '\0') {
        text.remove_prefix(whole.size());
        syntax.firstLine = 2;
    }
    syntax.separator = options.separator != '\0' ? options.separator
                     : declared != '\0'          ? declared
                     : formatSeparator != '\0'   ? formatSeparator
                                                 : guessedSeparator(text);
    RecordLayout layout;
    layout.separator = syntax.separator;
    layout.ownHeader = true;
    EntriesFromRecords entries(options, layout, reporter, sink);
    readRecords(text, syntax, [&entries](const Record& record) { entries.take(record); });
    entries.finish();
}
