#include "model/wordentry.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "model/normalization.h"
#include "model/text.h"

namespace {

// A guess and an item are compared composed, so that a word written decomposed in the file is
// still right when it is typed (typing gives the composed form). The guess is composed once for all
// items; ASCII is composed already and is compared as it is.
bool matchesAny(const std::vector<std::string>& items, const std::string& guess) {
    std::string guessStorage;
    const std::string_view composedGuess = canonicallyComposed(guess, guessStorage);
    std::string itemStorage;
    return std::any_of(items.begin(), items.end(), [&](const std::string& item) {
        return equalIgnoringAsciiCase(composedGuess, canonicallyComposed(item, itemStorage));
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
