#include "model/wordentry.h"

#include <algorithm>
#include <utility>

namespace {

// Only A to Z fold: every byte of a non-ASCII character has to be identical.
char foldAsciiCapital(char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + ('a' - 'A')) : byte;
}

bool sameIgnoringAsciiCase(const std::string& guess, const std::string& item) {
    return guess.size() == item.size()
        && std::equal(guess.begin(), guess.end(), item.begin(),
                      [](char a, char b) { return foldAsciiCapital(a) == foldAsciiCapital(b); });
}

bool matchesAny(const std::vector<std::string>& items, const std::string& guess) {
    return std::any_of(items.begin(), items.end(),
                       [&guess](const std::string& item) { return sameIgnoringAsciiCase(guess, item); });
}

std::string firstOrEmpty(const std::vector<std::string>& items) {
    return items.empty() ? std::string() : items.front();
}

} // namespace

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
