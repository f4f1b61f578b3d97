#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/wordentry.h"
#include "parser/parser.h"

// Looks at every entry as the parser hands it over, and at every file read, and warns on standard
// error, as "FILE:LINE: warning: TEXT", about what the drill would otherwise turn into silent
// annoyances: a word asked twice, an alternative given twice, an empty side or alternative, a
// space that looks like none or like a plain one, a word that mixes alphabets whose letters look
// alike, a file read again. Words are the same when a guess of one would match the other: equal
// once both are in Unicode's composed form and A to Z are taken as a to z.
class Linter {
public:
    explicit Linter(const Parser& parser) : parser_(parser) {}

    // The line as the word list took it, at the parser's current file and line.
    void lookAtEntry(const std::string& line);
    // Looks at the files read since the last call; entries do so themselves, and the caller once
    // more after the load, for the files without entries.
    void lookAtNewReads();
    std::uint32_t warningCount() const { return warningCount_; }

private:
    // Where an entry stands: the read of its file (an index into the parser's filesRead()) and
    // its line there.
    struct Place {
        std::size_t read;
        std::uint64_t line;
    };
    struct SeenEntry {
        Place place;
        std::vector<std::string> translations;  // as guess keys, sorted, to compare regardless of order
    };
    // A word as an entry wrote it, to tell when a later one is the same only in another form.
    struct WordSeen {
        std::size_t entry;
        std::string word;
    };

    void lookAtSide(const std::vector<std::string>& items, std::string_view noun);
    void lookAtWordsSeenBefore(const WordEntry& entry);
    Place currentPlace() const;
    void warn(const Place& place, const std::string& text);
    std::string placeName(const Place& place) const;

    const Parser& parser_;
    std::size_t readsSeen_ = 0;
    std::map<FileIdentity, std::size_t> firstReadOf_;
    bool readingAgain_ = false;
    std::vector<SeenEntry> entries_;
    // A word's guess key to the entries that have it: the first one with each set of translations.
    std::unordered_map<std::string, std::vector<WordSeen>> entriesWith_;
    std::uint32_t warningCount_ = 0;
};
