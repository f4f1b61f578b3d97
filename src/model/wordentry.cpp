#include "model/wordentry.h"

#include <algorithm>
#include <utility>

#include "model/text.h"

namespace {

bool matchesAny(const std::vector<std::string>& items, const std::string& guess) {
    return std::any_of(items.begin(), items.end(),
                       [&guess](const std::string& item) { return equalIgnoringAsciiCase(guess, item); });
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
