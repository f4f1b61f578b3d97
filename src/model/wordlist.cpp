#include "model/wordlist.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <utility>

#include "model/psdes.h"
#include "model/text.h"

namespace {

// The side split at "," with each piece stripped: k commas give k + 1 items, empty ones too, and
// the empty side gives none at all. Views keep the line's bytes uncopied until the items are made.
std::vector<std::string> itemsOf(std::string_view side) {
    std::vector<std::string> items;
    if (side.empty()) {
        return items;
    }
    items.reserve(std::count(side.begin(), side.end(), itemSeparator) + 1);
    for (std::size_t start = 0;;) {
        const std::size_t comma = side.find(itemSeparator, start);
        items.emplace_back(stripped(side.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos) {
            return items;
        }
        start = comma + 1;
    }
}

std::uint32_t lowBitsOfTickCount() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(ticks).count());
}

}  // namespace

MalformedEntry::MalformedEntry()
    : AppException("Unable to read a dictionary entry from file. The file might be corrupt or not a verbaro file.") {}

std::string MalformedEntry::toString() const {
    return "wordlist.MalformedEntry";
}

WordEntry entryFromLine(const std::string& line) {
    const std::string_view text(line);
    const std::size_t separator = text.find(sideSeparator);
    if (separator != std::string_view::npos && text.find(sideSeparator, separator + 1) == std::string_view::npos) {
        return WordEntry(itemsOf(text.substr(0, separator)), itemsOf(text.substr(separator + 1)));
    }
    // Without a single "=", the line needs at least two tokens. With exactly two they are the
    // sides; with more, the first token is the word and the rest of the line, after the one
    // character that ends the token, is the translation: "hund big dog" asks "big dog".
    const std::size_t firstStart = text.find_first_not_of(whiteSpace);
    const std::size_t firstEnd = text.find_first_of(whiteSpace, firstStart);
    const std::size_t secondStart = text.find_first_not_of(whiteSpace, firstEnd);
    if (secondStart == std::string_view::npos) {
        throw MalformedEntry();
    }
    const std::size_t secondEnd = text.find_first_of(whiteSpace, secondStart);
    const bool moreTokens = text.find_first_not_of(whiteSpace, secondEnd) != std::string_view::npos;
    const std::string_view word = text.substr(firstStart, firstEnd - firstStart);
    const std::string_view translation =
        moreTokens ? text.substr(firstEnd + 1) : text.substr(secondStart, secondEnd - secondStart);
    return WordEntry(itemsOf(word), itemsOf(translation));
}

WordList::WordList() = default;

WordList::~WordList() = default;

void WordList::addEntry(const std::string& line) {
    const WordEntry& entry = entries_.emplace_back(entryFromLine(line));
    try {
        remaining_.prepend(&entry);
    } catch (...) {
        // Out of memory: the line is not added at all, rather than owned but never drawn.
        entries_.pop_back();
        throw;
    }
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
