#include "model/wordentry.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "model/normalization.h"
#include "model/text.h"

namespace {

// A guess and an item are compared composed, so that a word written decomposed in the file is
// still right when it is typed (typing gives the composed form).
bool matchesComposed(std::string_view guess, std::string_view item) {
    std::string composedGuess;
    std::string composedItem;
    return equalIgnoringAsciiCase(canonicallyComposed(guess, composedGuess), canonicallyComposed(item, composedItem));
}

// ASCII is composed already: when both are ASCII, as most guesses and items are, the bytes decide
// at once.
bool matchesAny(const std::vector<std::string>& items, const std::string& guess) {
    const bool asciiGuess = isAscii(guess);
    return std::any_of(items.begin(), items.end(), [&](const std::string& item) {
        return asciiGuess && isAscii(item) ? equalIgnoringAsciiCase(guess, item) : matchesComposed(guess, item);
    });
}

std::string firstOrEmpty(const std::vector<std::string>& items) {
    return items.empty() ? std::string() : items.front();
}

}  // namespace

WordEntry::WordEntry(std::vector<std::string> words, std::vector<std::string> translations)
    : words_(std::move(words)), translations_(std::move(translations)) {}

bool WordEntry::matchesTranslation(const std::string& guess) const {
    return matchesAny(translations_, guess);
}

bool WordEntry::matchesWord(const std::string& guess) const {
    return matchesAny(words_, guess);
}

std::string WordEntry::translation() const {
    return firstOrEmpty(translations_);
}

std::string WordEntry::word() const {
    return firstOrEmpty(words_);
}
