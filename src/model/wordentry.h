#pragma once

#include <string>
#include <vector>

// One dictionary entry: the words left of the separator and the translations right of it, each
// already stripped. Only the first item of a side is ever shown; the others are accepted answers.
class WordEntry {
public:
    WordEntry(std::vector<std::string> words, std::vector<std::string> translations);

    bool matchesTranslation(const std::string& guess) const;
    bool matchesWord(const std::string& guess) const;
    // The empty text when that side has no items.
    std::string translation() const;
    std::string word() const;

    const std::vector<std::string>& words() const { return words_; }
    const std::vector<std::string>& translations() const { return translations_; }

private:
    std::vector<std::string> words_;
    std::vector<std::string> translations_;
};
