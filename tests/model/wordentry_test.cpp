#include "model/wordentry.h"

#include <gtest/gtest.h>

namespace {

TEST(WordEntryTest, GuessesFoldOnlyAsciiCapitals) {
    const WordEntry entry({"katt", "\xC3\xA5sna"}, {"cat"});
    EXPECT_TRUE(entry.matchesWord("KATT"));
    EXPECT_TRUE(entry.matchesWord("kAtT"));
    EXPECT_TRUE(entry.matchesWord("\xC3\xA5SNA"));
    // "Åsna": the capital Å is a different UTF-8 sequence from å and is not folded.
    EXPECT_FALSE(entry.matchesWord("\xC3\x85sna"));
}

TEST(WordEntryTest, GuessesMustHaveTheItemsExactLength) {
    const WordEntry entry({"katt"}, {"cat"});
    EXPECT_FALSE(entry.matchesWord("katt "));
    EXPECT_FALSE(entry.matchesWord(" katt"));
    EXPECT_FALSE(entry.matchesWord("kat"));
    EXPECT_FALSE(entry.matchesWord("katter"));
    EXPECT_FALSE(entry.matchesWord(""));
}

TEST(WordEntryTest, FoldingDoesNotReachNeighboursOfTheCapitals) {
    // '@' and '[' lie just outside A to Z; '`' and '{' are what they would fold onto.
    const WordEntry entry({"`{"}, {});
    EXPECT_FALSE(entry.matchesWord("@["));
    EXPECT_TRUE(entry.matchesWord("`{"));
}

// Each pair is written as the file and the learner might write it; the texts are spelled out in
// code points so that their form is plain to see.
TEST(WordEntryTest, GuessesMatchInEitherUnicodeFormAndNothingElseFolds) {
    const struct {
        const char* item;
        const char* guess;
        bool matches;
    } cases[] = {
        // French: one accented letter, decomposed in the file, typed composed, and the other way.
        {"cafe\u0301", "caf\u00E9", true},
        {"caf\u00E9", "cafe\u0301", true},
        {"E\u0301t\u00E9", "\u00C9te\u0301", true},
        {"Cafe\u0301", "cAF\u00E9", true},
        // A capital with an accent is a letter of its own, however written: like "\u00C5", not folded.
        {"cafe\u0301", "CAFE\u0301", false},
        // Vietnamese "e" with a dot below and a circumflex: marks of different classes are the same
        // in either order. Two marks of one class (circumflex and acute) are not.
        {"ti\u1EBFng Vi\u1EC7t", "tie\u0302\u0301ng Vie\u0323\u0302t", true},
        {"Vie\u0323\u0302t", "Vie\u0302\u0323t", true},
        {"tie\u0302\u0301ng", "tie\u0301\u0302ng", false},
        // Korean: conjoining letters against the syllables they spell.
        {"\u1112\u1161\u11AB\u1100\u116E\u11A8\u110B\u1165", "\uD55C\uAD6D\uC5B4", true},
        // Signs that Unicode holds to be the same as a letter: the ohm, the Angstrom and the Kelvin
        // sign; the last is then an ASCII capital.
        {"\u03A9", "\u2126", true},
        {"\u00C5", "\u212B", true},
        {"katt", "\u212AATT", true},
        // Neither compatibility forms nor the case of other letters fold.
        {"\u00E5sna", "A\u030Asna", false},
        {"\u00E5sna", "\u00C5sna", false},
        {"katt", "\uFF4B\uFF41\uFF54\uFF54", false},
        {"fil", "\uFB01l", false},
        {"att vara", "att\u00A0vara", false},
        {"\u0441\u043E\u0431\u0430\u043A\u0430", "\u0421\u043E\u0431\u0430\u043A\u0430", false},
        {"\u1100\u1161", "\u3131\u314F", false},
        // A composed guess still has to be the whole item.
        {"cafe\u0301s", "caf\u00E9", false},
        // Bytes that are no UTF-8 are compared as they are.
        {"caf\xFF", "caf\xFF", true},
        {"cafe\u0301\xFF", "caf\u00E9\xFF", false},
    };
    for (const auto& [item, guess, matches] : cases) {
        const WordEntry entry({}, {"x", item});
        EXPECT_EQ(entry.matchesTranslation(guess), matches) << item << " / " << guess;
        EXPECT_EQ(WordEntry({item}, {}).matchesWord(guess), matches) << item << " / " << guess;
    }
}

TEST(WordEntryTest, TheTextsAreKeptAsTheFileWroteThem) {
    const WordEntry entry({"cafe\u0301"}, {"\u1100\u1161"});
    EXPECT_EQ(entry.word(), "cafe\u0301");
    EXPECT_EQ(entry.translation(), "\u1100\u1161");
}

TEST(WordEntryTest, AnyItemOfTheSideIsAccepted) {
    const WordEntry entry({"hund", "vovve"}, {"dog", "hound"});
    EXPECT_TRUE(entry.matchesTranslation("dog"));
    EXPECT_TRUE(entry.matchesTranslation("HOUND"));
    EXPECT_FALSE(entry.matchesTranslation("hund"));
    EXPECT_TRUE(entry.matchesWord("Vovve"));
    EXPECT_FALSE(entry.matchesWord("dog"));
}

TEST(WordEntryTest, EmptyGuessMatchesOnlyAnEmptyItem) {
    const WordEntry entry({"hund"}, {"dog", ""});
    EXPECT_TRUE(entry.matchesTranslation(""));
    EXPECT_FALSE(entry.matchesWord(""));
}

TEST(WordEntryTest, TheFirstItemStandsForTheSide) {
    const WordEntry entry({"hund", "vovve"}, {"dog", "hound"});
    EXPECT_EQ(entry.word(), "hund");
    EXPECT_EQ(entry.translation(), "dog");
}

TEST(WordEntryTest, AnEmptySideShowsEmptyTextAndMatchesNothing) {
    const WordEntry entry({"hund"}, {});
    EXPECT_EQ(entry.translation(), "");
    EXPECT_FALSE(entry.matchesTranslation(""));
    EXPECT_FALSE(entry.matchesTranslation("dog"));
}

}  // namespace
