#include "model/wordlist.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <utility>

#include "model/psdes.h"

namespace {

// No byte from 0x80 upward counts: those belong to the UTF-8 characters of the text.
constexpr std::string_view whiteSpace = " \t\n\v\f\r";

// The empty text has no pieces at all; otherwise k separators give k + 1 pieces, empty ones too.
std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    std::size_t start = 0;
    for (std::size_t found = text.find(separator); found != std::string::npos;
         found = text.find(separator, start)) {
        pieces.push_back(text.substr(start, found - start));
        start = found + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::vector<std::string> whiteSpaceTokens(const std::string& text) {
    std::vector<std::string> tokens;
    for (std::size_t start = text.find_first_not_of(whiteSpace); start != std::string::npos;) {
        const std::size_t end = text.find_first_of(whiteSpace, start);
        tokens.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(whiteSpace, end);
    }
    return tokens;
}

std::string stripped(const std::string& text) {
    const std::size_t start = text.find_first_not_of(whiteSpace);
    if (start == std::string::npos) {
        return std::string();
    }
    return text.substr(start, text.find_last_not_of(whiteSpace) - start + 1);
}

std::vector<std::string> strippedPieces(const std::string& side) {
    std::vector<std::string> pieces = splitAt(side, ',');
    for (std::string& piece : pieces) {
        piece = stripped(piece);
    }
    return pieces;
}

std::uint32_t lowBitsOfTickCount() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(ticks).count());
}

} // namespace

MalformedEntry::MalformedEntry()
    : AppException("Unable to read a dictionary entry from file. The file might be corrupt or not a verbaro file.") {}

std::string MalformedEntry::toString() const {
    return "wordlist.MalformedEntry";
}

WordEntry entryFromLine(const std::string& line) {
    std::vector<std::string> sides = splitAt(line, '=');
    if (sides.size() != 2) {
        // Without a single "=", the first token is the word and the rest of the line, after the
        // one character that ends the token, is the translation: "hund big dog" asks "big dog".
        std::vector<std::string> tokens = whiteSpaceTokens(line);
        if (tokens.size() < 2) {
            throw MalformedEntry();
        }
        if (tokens.size() == 2) {
            sides = std::move(tokens);
        } else {
            const std::size_t firstTokenEnd = line.find_first_of(whiteSpace, line.find_first_not_of(whiteSpace));
            sides = {tokens.front(), line.substr(firstTokenEnd + 1)};
        }
    }
    return WordEntry(strippedPieces(sides[0]), strippedPieces(sides[1]));
}

WordList::WordList() = default;

WordList::~WordList() = default;

void WordList::addEntry(const std::string& line) {
    auto entry = std::make_unique<const WordEntry>(entryFromLine(line));
    // Room is made first, so that a failed allocation leaves the entry neither listed nor owned.
    // Doubling keeps filling a large dictionary linear.
    if (entries_.size() == entries_.capacity()) {
        entries_.reserve(std::max<std::size_t>(64, 2 * entries_.capacity()));
    }
    remaining_.prepend(entry.get());
    entries_.push_back(std::move(entry));
}

void WordList::setTitle(const std::string& title) {
    title_ = title;
}

std::string WordList::title() const {
    return title_;
}

void WordList::setNormalMode(bool normalMode) {
    normalMode_ = normalMode;
}

bool WordList::drawNext() {
    if (remaining_.isEmpty()) {
        return false;
    }
    // Reseeded from the clock for every draw, so each draw hashes a fresh tick count.
    PseudoDes generator(lowBitsOfTickCount(), 0);
    current_ = generator.next() % remaining_.length();
    return true;
}

std::string WordList::question() const {
    const WordEntry& entry = currentEntry();
    return normalMode_ ? entry.word() : entry.translation();
}

std::string WordList::answer() const {
    const WordEntry& entry = currentEntry();
    return normalMode_ ? entry.translation() : entry.word();
}

bool WordList::guess(const std::string& guess) {
    const WordEntry& entry = currentEntry();
    const bool matched = normalMode_ ? entry.matchesTranslation(guess) : entry.matchesWord(guess);
    ++(matched ? correct_ : incorrect_);
    return matched;
}

void WordList::markAnswered() {
    answered_.prepend(remaining_.take(current_));
}

void WordList::restart() {
    while (!answered_.isEmpty()) {
        remaining_.prepend(answered_.pop());
    }
    correct_ = 0;
    incorrect_ = 0;
}

std::uint32_t WordList::answeredCount() const {
    return answered_.length();
}

std::uint32_t WordList::remainingCount() const {
    return remaining_.length();
}

std::uint32_t WordList::correctCount() const {
    return correct_;
}

std::uint32_t WordList::incorrectCount() const {
    return incorrect_;
}

const WordEntry& WordList::currentEntry() const {
    return *remaining_.get(current_);
}
