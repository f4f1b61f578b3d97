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
