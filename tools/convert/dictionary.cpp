#include "dictionary.h"

#include <array>
#include <cstdio>
#include <exception>

#include "model/wordlist.h"
#include "parser/parser.h"
#include "textinput.h"

namespace {

// The text in double quotes, with line breaks shown as \n and \r so that a report stays one line.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char byte : text) {
        out += byte == '\n' ? "\\n" : byte == '\r' ? "\\r" : std::string(1, byte);
    }
    return out + "\"";
}

// The bytes that a dictionary line gives a meaning of their own, with the reason each is refused.
constexpr std::array<const char*, 256> refusedBytes = [] {
    std::array<const char*, 256> reasons{};
    reasons['\n'] = reasons['\r'] = "a line break";
    reasons['='] = "\"=\", which parts word and translation";
    reasons[','] = "\",\", which parts alternatives";
    // A dictionary line ends at its first ";", wherever it stands.
    reasons[';'] = "\";\", which starts a comment";
    return reasons;
}();

std::string whyFieldNotWritable(const std::string& field, bool isWord) {
    // One pass over the field, since this runs for every field of a large table; a line break
    // weighs more than any other reason.
    const char* reason = nullptr;
    for (const char byte : field) {
        if (const char* refused = refusedBytes[static_cast<unsigned char>(byte)]; refused != nullptr) {
            reason = reason == nullptr || byte == '\n' || byte == '\r' ? refused : reason;
        }
    }
    if (reason != nullptr) {
        return quoted(field) + " holds " + reason;
    }
    if (isWord && field.starts_with('@')) {
        return "the word " + quoted(field) + " starts with \"@\", which makes the line a directive";
    }
    return {};
}

// Hands each entry line to the table as the program would cut it, with the place it came from.
class RowCollectingWordList : public WordList {
public:
    RowCollectingWordList(const Reporter& reporter, const std::function<void(const std::vector<std::string>&)>& sink)
        : reporter_(reporter), sink_(sink) {}

    void watch(const Parser& parser) { parser_ = &parser; }

    void addEntry(const std::string& line) override {
        const WordEntry entry = entryFromLine(line);
        if (entry.words().size() != 1) {
            reporter_.skip(parser_->currentLine(),
                           entry.words().empty() ? "the entry has no word"
                                                 : "the entry has several words, and a table row holds one",
                           parser_->currentFile());
            return;
        }
        row_.assign(1, entry.words().front());
        row_.insert(row_.end(), entry.translations().begin(), entry.translations().end());
        sink_(row_);
    }

private:
    const Reporter& reporter_;
    const std::function<void(const std::vector<std::string>&)>& sink_;
    const Parser* parser_ = nullptr;
    std::vector<std::string> row_;
};

}  // namespace

std::string whyNotWritable(const Pair& pair) {
    if (pair.word.empty()) {
        return "the word is empty";
    }
    if (pair.translations.empty()) {
        return "the word " + quoted(pair.word) + " has no translation";
    }
    std::string reason = whyFieldNotWritable(pair.word, true);
    for (auto translation = pair.translations.begin(); reason.empty() && translation != pair.translations.end();
         ++translation) {
        reason = whyFieldNotWritable(*translation, false);
    }
    return reason;
}

void Reporter::skip(std::uint64_t line, const std::string& reason, const std::string& file) const {
    if (strict) {
        throw InputError(line, reason, file);
    }
    std::fprintf(stderr, "%s:%llu: skipped: %s\n", (file.empty() ? fileName : file).c_str(),
                 static_cast<unsigned long long>(line), reason.c_str());
}

DictionaryWriter::DictionaryWriter(const std::string& title, const Reporter& reporter) : reporter_(reporter) {
    text_ = "@ver 1.0\n@title " + title + "\n";
}

void DictionaryWriter::add(const Pair& pair) {
    const std::string reason = whyNotWritable(pair);
    if (!reason.empty()) {
        reporter_.skip(pair.line, reason);
        return;
    }
    text_ += pair.word;
    text_ += " = ";
    for (std::size_t i = 0; i < pair.translations.size(); ++i) {
        if (i > 0) {
            text_ += ", ";
        }
        text_ += pair.translations[i];
    }
    text_ += '\n';
}

void readDictionaryRows(const std::string& fileName, const Reporter& reporter,
                        const std::function<void(const std::vector<std::string>&)>& sink) {
    RowCollectingWordList rows(reporter, sink);
    Parser parser(fileName, rows);
    rows.watch(parser);
    try {
        parser.parse();
    } catch (const InputError&) {
        throw;
    } catch (const std::exception& error) {
        throw InputError(parser.currentLine(), error.what(), parser.currentFile());
    }
}
