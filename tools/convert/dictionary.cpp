#include "dictionary.h"

#include <algorithm>
#include <array>
#include <exception>
#include <utility>

#include "common/quoting.h"
#include "model/text.h"
#include "model/wordlist.h"
#include "parser/dictionaryline.h"
#include "parser/linereader.h"
#include "parser/parser.h"

namespace {

// What the writer hands on at a time: large enough for few writes, small enough to stay in cache.
constexpr std::size_t blockSize = std::size_t{1} << 20;

// The bytes that a dictionary line gives a meaning of their own, with the reason each is refused.
constexpr std::array<const char*, 256> refusedBytes = [] {
    std::array<const char*, 256> reasons{};
    for (std::size_t byte = 0; byte < reasons.size(); ++byte) {
        if (isLineEnd(static_cast<char>(byte))) {
            reasons[byte] = "a line break";
        }
    }
    reasons[sideSeparator] = "\"=\", which parts word and translation";
    reasons[itemSeparator] = "\",\", which parts alternatives (--alternatives , reads the cell as several)";
    // A dictionary line ends at its first ";", wherever it stands.
    reasons[commentMark] = "\";\", which starts a comment";
    return reasons;
}();

// Whether any byte of the item has a meaning of its own, in one pass without branches: this runs
// for every cell, and takes some 8 % off converting a large table.
bool holdsRefusedByte(std::string_view item) {
    static constexpr std::array<bool, 256> refused = [] {
        std::array<bool, 256> table{};
        for (std::size_t byte = 0; byte < table.size(); ++byte) {
            table[byte] = refusedBytes[byte] != nullptr;
        }
        return table;
    }();
    bool found = false;
    for (const char byte : item) {
        found |= refused[static_cast<unsigned char>(byte)];
    }
    return found;
}

std::string whyItemNotWritable(std::string_view item) {
    if (!holdsRefusedByte(item)) {
        return {};
    }
    // A line break weighs more than any other reason.
    const char* reason = nullptr;
    for (const char byte : item) {
        if (const char* refused = refusedBytes[static_cast<unsigned char>(byte)]; refused != nullptr) {
            reason = reason == nullptr || isLineEnd(byte) ? refused : reason;
        }
    }
    return reason == nullptr ? std::string() : quoted(item) + " holds " + reason;
}

// The separators as the written lines hold them, with the spaces a reader expects.
constexpr char sideSeparatorWritten[] = {' ', sideSeparator, ' ', '\0'};
constexpr char itemSeparatorWritten[] = {itemSeparator, ' ', '\0'};

template <typename Text, typename Item>
void appendJoined(Text& out, const std::vector<Item>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        out.append(i == 0 ? "" : itemSeparatorWritten);
        out.append(items[i]);
    }
}

// Hands each entry to the table as the program would cut its line.
class RowCollectingWordList : public WordList {
public:
    explicit RowCollectingWordList(const std::function<void(const std::vector<std::string>&)>& sink) : sink_(sink) {}

    void addEntry(const std::string& line) override {
        const WordEntry entry = entryFromLine(line);
        row_.assign(2, {});
        appendJoined(row_[0], entry.words());
        appendJoined(row_[1], entry.translations());
        sink_(row_);
    }

private:
    const std::function<void(const std::vector<std::string>&)>& sink_;
    std::vector<std::string> row_;
};

}  // namespace

std::size_t appendItems(std::string_view cell, std::string_view separators, std::vector<std::string_view>& items) {
    cell = stripped(cell);
    if (cell.empty()) {
        return 0;
    }
    if (separators.empty()) {
        items.emplace_back(cell);
        return 0;
    }
    std::size_t empty = 0;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(cell.find_first_of(separators, start), cell.size());
        const std::string_view item = stripped(cell.substr(start, end - start));
        if (item.empty()) {
            ++empty;
        } else {
            items.emplace_back(item);
        }
        if (end == cell.size()) {
            return empty;
        }
        start = end + 1;
    }
}

std::string whyNotWritable(const Pair& pair) {
    if (pair.words.empty()) {
        return "the word is empty";
    }
    if (pair.translations.empty()) {
        return "the word " + quoted(pair.words.front()) + " has no translation";
    }
    // The word's own faults first: the line is cut at them before it could be a directive.
    for (const std::vector<std::string_view>* side : {&pair.words, &pair.translations}) {
        for (const std::string_view& item : *side) {
            if (std::string reason = whyItemNotWritable(item); !reason.empty()) {
                return reason;
            }
            if (&item == &pair.words.front() && item.starts_with(directiveMark)) {
                return "the word " + quoted(item) + " starts with \"@\", which makes the line a directive";
            }
        }
    }
    return {};
}

DictionaryWriter::DictionaryWriter(const std::string& title, Reporter& reporter,
                                   std::function<void(std::string_view)> output)
    : reporter_(reporter), output_(std::move(output)) {
    text_.reserve(blockSize + blockSize / 4);
    text_ = directiveLine(versionKeyword, formatVersion) + '\n' + directiveLine(titleKeyword, title) + '\n';
}

void DictionaryWriter::add(const Pair& pair) {
    const std::string reason = whyNotWritable(pair);
    if (!reason.empty()) {
        reporter_.skip(pair.line, reason);
        return;
    }
    appendJoined(text_, pair.words);
    text_ += sideSeparatorWritten;
    appendJoined(text_, pair.translations);
    text_ += '\n';
    ++entryCount_;
    if (text_.size() >= blockSize) {
        output_(text_);
        text_.clear();
    }
}

void DictionaryWriter::finish() {
    output_(text_);
    text_.clear();
}

void readDictionaryRows(const std::string& fileName, const std::function<void(const std::vector<std::string>&)>& sink) {
    RowCollectingWordList rows(sink);
    Parser parser(fileName, rows);
    try {
        parser.parse();
    } catch (const InputError&) {
        throw;
    } catch (const std::exception& error) {
        throw InputError(parser.currentLine(), error.what(), parser.currentFile());
    }
}
