#include "lint.h"

#include <algorithm>
#include <cstdio>

#include "common/quoting.h"
#include "common/report.h"
#include "model/text.h"
#include "model/wordlist.h"
#include "parser/utf8.h"

namespace {

// Spaces that look like a plain space or like nothing at all, and that a typed plain space never
// matches.
bool isOddSpace(char32_t codePoint) {
    return codePoint == 0x00A0 || codePoint == 0x1680 || codePoint == 0x180E
        || (codePoint >= 0x2000 && codePoint <= 0x200B) || codePoint == 0x2028 || codePoint == 0x2029
        || codePoint == 0x202F || codePoint == 0x205F || codePoint == 0x2060 || codePoint == 0x3000
        || codePoint == 0xFEFF;
}

// The first odd space in the text, or 0. Only well-formed sequences are characters, as in quoted():
// the bytes of an ill-formed one never spell a space.
char32_t oddSpaceIn(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0) {
            ++i;
            continue;
        }
        if (const char32_t codePoint = codePointOf(text.substr(i, length)); isOddSpace(codePoint)) {
            return codePoint;
        }
        i += length;
    }
    return 0;
}

std::string codePointName(char32_t codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

}  // namespace

void Linter::lookAtEntry(const std::string& line) {
    lookAtNewReads();
    // The entries of a file read again were looked at when it was first read.
    if (readingAgain_) {
        return;
    }
    const WordEntry entry = entryFromLine(line);
    lookAtSide(entry.words(), "word");
    lookAtSide(entry.translations(), "translation");
    lookAtWordsSeenBefore(entry);
}

void Linter::lookAtNewReads() {
    const std::vector<FileRead>& reads = parser_.filesRead();
    for (; readsSeen_ < reads.size(); ++readsSeen_) {
        const FileRead& read = reads[readsSeen_];
        const auto [first, isFirst] = firstReadOf_.try_emplace(read.identity, readsSeen_);
        readingAgain_ = !isFirst;
        // A file read again reads its imports again too: only the import that began it is named.
        // The chosen file is on every chain of imports and never read again, so both reads here
        // were imports.
        if (readingAgain_ && firstReadOf_.at(reads[read.importer].identity) == read.importer) {
            const FileRead& firstRead = reads[first->second];
            warn({read.importer, read.importLine}, quoted(read.fileName) + " was already read, imported at "
                                                       + placeName({firstRead.importer, firstRead.importLine})
                                                       + "; its entries are added again");
        }
    }
}

void Linter::lookAtSide(const std::vector<std::string>& items, std::string_view noun) {
    const Place here = currentPlace();
    const std::string theItem = "the " + std::string(noun) + " ";
    if (items.empty()) {
        warn(here, "the entry has no " + std::string(noun) + "s");
    }
    if (std::find(items.begin(), items.end(), "") != items.end()) {
        warn(here, "empty " + std::string(noun) + " (an empty answer is taken as right)");
    }
    std::vector<std::string> seen;
    for (const std::string& item : items) {
        if (item.empty()) {
            continue;
        }
        if (const char32_t space = oddSpaceIn(item); space != 0) {
            warn(here,
                 theItem + quoted(item) + " holds " + codePointName(space) + ", an invisible or non-breaking space");
        }
        std::string key = asciiLowerCased(item);
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
            warn(here, theItem + quoted(item) + " is given twice");
        } else {
            seen.push_back(std::move(key));
        }
    }
}

void Linter::lookAtWordsSeenBefore(const WordEntry& entry) {
    const std::size_t index = entries_.size();
    SeenEntry& seen = entries_.emplace_back(SeenEntry{currentPlace(), {}});
    for (const std::string& translation : entry.translations()) {
        seen.translations.push_back(asciiLowerCased(translation));
    }
    std::sort(seen.translations.begin(), seen.translations.end());
    seen.translations.erase(std::unique(seen.translations.begin(), seen.translations.end()), seen.translations.end());

    // One warning for each earlier entry, however many words the two share. An entry that repeats
    // an earlier one is named beside that one, not beside the first entry with the word.
    std::vector<std::size_t> named;
    for (const std::string& word : entry.words()) {
        if (word.empty()) {
            continue;
        }
        std::vector<std::size_t>& withWord = entriesWith_[asciiLowerCased(word)];
        const auto same = std::find_if(withWord.begin(), withWord.end(), [&](std::size_t earlier) {
            return entries_[earlier].translations == seen.translations;
        });
        const bool sameTranslations = same != withWord.end();
        if (!sameTranslations) {
            withWord.push_back(index);
        }
        const std::size_t earlier = sameTranslations ? *same : withWord.front();
        if (earlier == index || std::find(named.begin(), named.end(), earlier) != named.end()) {
            continue;
        }
        named.push_back(earlier);
        warn(seen.place, "the word " + quoted(word) + " is also at " + placeName(entries_[earlier].place)
                             + (sameTranslations ? ", with the same translations" : ", with other translations"));
    }
}

void Linter::warn(const Place& place, const std::string& text) {
    ++warningCount_;
    printAtPlace(stderr, parser_.filesRead()[place.read].fileName, place.line, "warning: " + text);
}

Linter::Place Linter::currentPlace() const {
    return {readsSeen_ - 1, parser_.currentLine()};
}

std::string Linter::placeName(const Place& place) const {
    return placeText(parser_.filesRead()[place.read].fileName, place.line);
}
