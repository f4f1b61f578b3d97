#include "lint.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "common/quoting.h"
#include "common/report.h"
#include "model/normalization.h"
#include "model/text.h"
#include "model/wordlist.h"
#include "parser/utf8.h"

namespace {

// The well-formed characters of the text, in order, as in quoted(): the bytes of an ill-formed
// sequence are no character.
template <class Visit>
void forEachCharacter(std::string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0) {
            ++i;
            continue;
        }
        visit(codePointOf(text.substr(i, length)));
        i += length;
    }
}

// Spaces that look like a plain space or like nothing at all, and that a typed plain space never
// matches.
bool isOddSpace(char32_t codePoint) {
    return codePoint == 0x00A0 || codePoint == 0x1680 || codePoint == 0x180E
        || (codePoint >= 0x2000 && codePoint <= 0x200B) || codePoint == 0x2028 || codePoint == 0x2029
        || codePoint == 0x202F || codePoint == 0x205F || codePoint == 0x2060 || codePoint == 0x3000
        || codePoint == 0xFEFF;
}

// The first odd space in the text, or 0.
char32_t oddSpaceIn(std::string_view text) {
    char32_t found = 0;
    forEachCharacter(text, [&found](char32_t codePoint) {
        if (found == 0 && isOddSpace(codePoint)) {
            found = codePoint;
        }
    });
    return found;
}

std::string codePointName(char32_t codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

// The alphabets whose letters look alike, so that a letter typed on the wrong keyboard layout goes
// unseen: "C" and "С", "o" and "ο".
bool isLookAlikeScript(UScriptCode script) {
    return script == USCRIPT_LATIN || script == USCRIPT_GREEK || script == USCRIPT_CYRILLIC;
}

bool isLetterOrMark(char32_t codePoint) {
    return (U_GET_GC_MASK(static_cast<UChar32>(codePoint)) & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

// A word that mixes such alphabets: the alphabet of most of its letters, and the first letter of
// the alphabet of fewest.
struct LookAlikeMix {
    UScriptCode mainScript;
    UScriptCode otherScript;
    char32_t otherLetter;
};

// The first word of the text that mixes look-alike alphabets. Words are the runs of letters and
// marks, so that "IT-компания" or "T-shirt футболка" mix nothing; writing systems that mix by
// nature, as kanji with kana, are not look-alikes.
std::optional<LookAlikeMix> lookAlikeMixIn(std::string_view text) {
    struct Letters {
        std::uint32_t count = 0;
        char32_t first = 0;
    };
    std::map<UScriptCode, Letters> word;
    std::optional<LookAlikeMix> found;
    const auto endWord = [&] {
        if (!found && word.size() > 1) {
            std::vector<std::pair<UScriptCode, Letters>> byCount(word.begin(), word.end());
            std::stable_sort(byCount.begin(), byCount.end(),
                             [](const auto& a, const auto& b) { return a.second.count > b.second.count; });
            found = LookAlikeMix{byCount.front().first, byCount.back().first, byCount.back().second.first};
        }
        word.clear();
    };
    forEachCharacter(text, [&](char32_t codePoint) {
        if (!isLetterOrMark(codePoint)) {
            endWord();
            return;
        }
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(static_cast<UChar32>(codePoint), &status);
        if (U_SUCCESS(status) && isLookAlikeScript(script)) {
            Letters& letters = word[script];
            if (letters.count++ == 0) {
                letters.first = codePoint;
            }
        }
    });
    endWord();
    return found;
}

// What "is also at" adds when two words are the same only once composed.
std::string formNote(std::string_view word, std::string_view other) {
    return asciiLowerCased(word) == asciiLowerCased(other) ? "" : ", in another Unicode form";
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
    // Each guess key with the first item that has it.
    std::vector<std::pair<std::string, std::string_view>> seen;
    for (const std::string& item : items) {
        if (item.empty()) {
            continue;
        }
        if (const char32_t space = oddSpaceIn(item); space != 0) {
            warn(here,
                 theItem + quoted(item) + " holds " + codePointName(space) + ", an invisible or non-breaking space");
        }
        if (const std::optional<LookAlikeMix> mix = lookAlikeMixIn(item)) {
            warn(here, theItem + quoted(item) + " mixes " + uscript_getName(mix->mainScript) + " and "
                           + uscript_getName(mix->otherScript) + " letters, which look alike: "
                           + codePointName(mix->otherLetter) + " is " + uscript_getName(mix->otherScript));
        }
        std::string key = guessKey(item);
        const auto same =
            std::find_if(seen.begin(), seen.end(), [&key](const auto& earlier) { return earlier.first == key; });
        if (same != seen.end()) {
            warn(here, theItem + quoted(item) + " is given twice" + formNote(item, same->second));
        } else {
            seen.emplace_back(std::move(key), item);
        }
    }
}

void Linter::lookAtWordsSeenBefore(const WordEntry& entry) {
    const std::size_t index = entries_.size();
    SeenEntry& seen = entries_.emplace_back(SeenEntry{currentPlace(), {}});
    for (const std::string& translation : entry.translations()) {
        seen.translations.push_back(guessKey(translation));
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
        std::vector<WordSeen>& withWord = entriesWith_[guessKey(word)];
        const auto same = std::find_if(withWord.begin(), withWord.end(), [&](const WordSeen& earlier) {
            return entries_[earlier.entry].translations == seen.translations;
        });
        const bool sameTranslations = same != withWord.end();
        if (!sameTranslations) {
            withWord.push_back({index, word});
        }
        const WordSeen& earlier = sameTranslations ? *same : withWord.front();
        if (earlier.entry == index || std::find(named.begin(), named.end(), earlier.entry) != named.end()) {
            continue;
        }
        named.push_back(earlier.entry);
        warn(seen.place, "the word " + quoted(word) + " is also at " + placeName(entries_[earlier.entry].place)
                             + formNote(word, earlier.word)
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
