#include "model/wordlist.h"

#include "model/psdes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

void expectEntry(const std::string& line, const Strings& words, const Strings& translations) {
    const WordEntry entry = entryFromLine(line);
    EXPECT_EQ(entry.words(), words) << "line: " << line;
    EXPECT_EQ(entry.translations(), translations) << "line: " << line;
}

template <typename Operation>
void expectListError(Operation operation, const std::string& message) {
    try {
        operation();
        FAIL() << "expected: " << message;
    } catch (const Exception& error) {
        EXPECT_EQ(error.message(), message);
    }
}

TEST(EntryLineTest, OneEqualsSignSeparatesWordsFromTranslations) {
    expectEntry("hund=dog", {"hund"}, {"dog"});
    expectEntry("hund , vovve = dog,hound", {"hund", "vovve"}, {"dog", "hound"});
    expectEntry("to be=att vara", {"to be"}, {"att vara"});
    // The line may end in the white space that stood before a cut-off comment.
    expectEntry("hund = dog \t", {"hund"}, {"dog"});
}

TEST(EntryLineTest, EmptyPiecesAndEmptySides) {
    expectEntry("hund=", {"hund"}, {});
    expectEntry("=dog", {}, {"dog"});
    expectEntry("=", {}, {});
    expectEntry("hund=dog,", {"hund"}, {"dog", ""});
    expectEntry("hund= , dog", {"hund"}, {"", "dog"});
}

TEST(EntryLineTest, WithoutOneEqualsSignTheFirstTokenIsTheWord) {
    expectEntry("hund dog", {"hund"}, {"dog"});
    expectEntry("hund\tdog", {"hund"}, {"dog"});
    expectEntry("hund big dog", {"hund"}, {"big dog"});
    expectEntry("hund  big dog", {"hund"}, {"big dog"});
    expectEntry("hund big dog,hound", {"hund"}, {"big dog", "hound"});
    expectEntry("a=b = c", {"a=b"}, {"= c"});
    expectEntry("hund, vovve dog", {"hund", ""}, {"vovve dog"});
}

TEST(EntryLineTest, ARestOfLineStartsAfterTheFirstTokenEvenWithLeadingWhiteSpace) {
    expectEntry("  hund big dog", {"hund"}, {"big dog"});
}

TEST(EntryLineTest, OnlyAsciiWhiteSpaceSeparatesOrIsStripped) {
    const std::string noBreakSpace = "\xC2\xA0";
    expectEntry("hund=" + noBreakSpace + "dog", {"hund"}, {noBreakSpace + "dog"});
    expectEntry("hund\v\fdog", {"hund"}, {"dog"});
    EXPECT_THROW(entryFromLine("hund" + noBreakSpace + "dog"), MalformedEntry);
}

TEST(EntryLineTest, LinesWithFewerThanTwoTokensAreMalformed) {
    for (const std::string line : {"hund", "a=b=c", "", "==", "hund=dog=", " hund "}) {
        EXPECT_THROW(entryFromLine(line), MalformedEntry) << "line: " << line;
    }
}

TEST(MalformedEntryTest, IsAProgramErrorReportedByItsName) {
    const MalformedEntry error;
    EXPECT_EQ(error.message(),
              "Unable to read a dictionary entry from file. The file might be corrupt or not a verbaro file.");
    EXPECT_EQ(std::string(error.what()), error.message());
    EXPECT_EQ(textForm(std::make_exception_ptr(error)), "wordlist.MalformedEntry");
    const AppException& asProgramError = error;
    EXPECT_EQ(asProgramError.toString(), "wordlist.MalformedEntry");
}

TEST(PseudoDesTest, GivesThePublishedValues) {
    EXPECT_EQ(PseudoDes(1, 1).next(), 0x509C0C23u);
    EXPECT_EQ(PseudoDes(99, 99).next(), 0x59BA89EBu);
    EXPECT_EQ(PseudoDes(1, 99).next(), 0xA66CB41Au);
    EXPECT_EQ(PseudoDes(99, 1).next(), 0x64300984u);
}

TEST(PseudoDesTest, EachValueMovesTheIndexOn) {
    PseudoDes generator(1, 98);
    generator.next();
    EXPECT_EQ(generator.next(), 0xA66CB41Au);
}

class WordListTest : public ::testing::Test {
protected:
    void load(const Strings& lines) {
        for (const std::string& line : lines) {
            words.addEntry(line);
        }
    }

    // Until the first draw the current position is 0, the front of the remaining entries, and
    // marking answered keeps it there: so the remaining entries can be read off in their order.
    Strings questionsFromTheFront() {
        Strings questions;
        while (words.remainingCount() > 0) {
            questions.push_back(words.question());
            words.markAnswered();
        }
        return questions;
    }

    void expectCounts(std::uint32_t answered, std::uint32_t remaining, std::uint32_t correct, std::uint32_t incorrect) {
        EXPECT_EQ(words.answeredCount(), answered);
        EXPECT_EQ(words.remainingCount(), remaining);
        EXPECT_EQ(words.correctCount(), correct);
        EXPECT_EQ(words.incorrectCount(), incorrect);
    }

    WordList words;
};

TEST_F(WordListTest, StartsEmptyWithoutTitle) {
    EXPECT_EQ(words.title(), "");
    expectCounts(0, 0, 0, 0);
    EXPECT_FALSE(words.drawNext());
    expectCounts(0, 0, 0, 0);
}

TEST_F(WordListTest, EntriesAreKeptInReverseOrderOfTheirLines) {
    load({"e1=t1", "e2=t2", "e3=t3"});
    words.setNormalMode(true);
    EXPECT_EQ(questionsFromTheFront(), (Strings{"e3", "e2", "e1"}));
}

TEST_F(WordListTest, AMalformedLineAddsNothingAndKeepsEarlierEntries) {
    load({"e1=t1", "e2=t2"});
    EXPECT_THROW(words.addEntry("a=b=c"), MalformedEntry);
    expectCounts(0, 2, 0, 0);
    words.setNormalMode(true);
    EXPECT_EQ(questionsFromTheFront(), (Strings{"e2", "e1"}));
}

TEST_F(WordListTest, IdenticalLinesGiveSeparateEntries) {
    load({"hund=dog", "hund=dog"});
    EXPECT_EQ(words.remainingCount(), 2u);
    ASSERT_TRUE(words.drawNext());
    words.markAnswered();
    ASSERT_TRUE(words.drawNext());
    words.markAnswered();
    EXPECT_FALSE(words.drawNext());
    expectCounts(2, 0, 0, 0);
}

TEST_F(WordListTest, TheModeDecidesWhichSideIsAskedAndAccepted) {
    load({"hund , vovve = dog,hound"});
    ASSERT_TRUE(words.drawNext());
    words.setNormalMode(true);
    EXPECT_EQ(words.question(), "hund");
    EXPECT_EQ(words.answer(), "dog");
    EXPECT_TRUE(words.guess("HOUND"));
    EXPECT_FALSE(words.guess("vovve"));

    words.setNormalMode(false);
    EXPECT_EQ(words.question(), "dog");
    EXPECT_EQ(words.answer(), "hund");
    EXPECT_TRUE(words.guess("hund"));
    EXPECT_TRUE(words.guess("VOVVE"));
    EXPECT_FALSE(words.guess("dog"));
    expectCounts(0, 1, 3, 2);
}

TEST_F(WordListTest, AnEmptySideIsShownAsEmptyText) {
    load({"hund="});
    ASSERT_TRUE(words.drawNext());
    words.setNormalMode(false);
    EXPECT_EQ(words.question(), "");
    EXPECT_EQ(words.answer(), "hund");
    words.setNormalMode(true);
    EXPECT_EQ(words.answer(), "");
    EXPECT_FALSE(words.guess(""));
}

TEST_F(WordListTest, AnEmptyTranslationItemAcceptsAnEmptyGuess) {
    load({"hund=dog,"});
    ASSERT_TRUE(words.drawNext());
    words.setNormalMode(true);
    EXPECT_TRUE(words.guess(""));
}

TEST_F(WordListTest, WrongGuessesCountButNeverMoveTheEntry) {
    load({"hund=dog"});
    words.setNormalMode(true);
    ASSERT_TRUE(words.drawNext());
    EXPECT_FALSE(words.guess("cat"));
    EXPECT_FALSE(words.guess("dog "));
    EXPECT_TRUE(words.guess("Dog"));
    expectCounts(0, 1, 1, 2);
    EXPECT_EQ(words.question(), "hund");
    words.markAnswered();
    expectCounts(1, 0, 1, 2);
}

TEST_F(WordListTest, EveryRemainingEntryCanBeDrawnAndNoAnsweredOne) {
    load({"a=1", "b=2", "c=3", "d=4", "e=5"});
    words.setNormalMode(true);
    ASSERT_TRUE(words.drawNext());
    const std::string answeredQuestion = words.question();
    words.markAnswered();

    std::set<std::string> drawn;
    for (int draw = 0; draw < 400; ++draw) {
        ASSERT_TRUE(words.drawNext());
        drawn.insert(words.question());
    }
    EXPECT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn.count(answeredQuestion), 0u);
    expectCounts(1, 4, 0, 0);
}

TEST_F(WordListTest, OnAnEmptyListTheCurrentEntryOperationsFailAndCountNothing) {
    load({"hund=dog"});
    ASSERT_TRUE(words.drawNext());
    words.markAnswered();
    expectListError([&] { words.question(); }, "The element specified is out of bounds.");
    expectListError([&] { words.answer(); }, "The element specified is out of bounds.");
    expectListError([&] { words.guess("dog"); }, "The element specified is out of bounds.");
    expectListError([&] { words.markAnswered(); }, "Can't pop from an empty list.");
    expectCounts(1, 0, 0, 0);
}

TEST_F(WordListTest, ACurrentPositionPastTheRemainingEntriesFailsAndMovesNothing) {
    load({"second=2", "first=1"});
    words.setNormalMode(true);
    // Draw until the back entry is current, then answer it: its position is now past the end.
    do {
        ASSERT_TRUE(words.drawNext());
    } while (words.question() != "second");
    words.markAnswered();
    expectListError([&] { words.question(); }, "The element specified is out of bounds.");
    expectListError([&] { words.guess("1"); }, "The element specified is out of bounds.");
    expectListError([&] { words.markAnswered(); }, "Can't get elements beyond end of list.");
    expectCounts(1, 1, 0, 0);
    ASSERT_TRUE(words.drawNext());
    EXPECT_EQ(words.question(), "first");
}

TEST_F(WordListTest, RestartBringsTheAnsweredEntriesBackInFrontInAnsweringOrder) {
    load({"e1=t1", "e2=t2", "e3=t3", "e4=t4"});
    words.setTitle("Animals");
    words.setNormalMode(true);
    // Answered from the front: e4, then e3; e2 and e1 remain.
    words.markAnswered();
    EXPECT_TRUE(words.guess("t3"));
    EXPECT_FALSE(words.guess("x"));
    words.markAnswered();
    expectCounts(2, 2, 1, 1);

    words.restart();
    expectCounts(0, 4, 0, 0);
    EXPECT_EQ(words.title(), "Animals");
    EXPECT_EQ(questionsFromTheFront(), (Strings{"e4", "e3", "e2", "e1"}));
}

// What the learner is shown as the answer to a question, and another guess that is accepted.
struct Expected {
    std::string answer;
    std::string acceptedGuess;
};

// A learner's whole session: load, drill to the end in one mode, restart, drill in the other.
TEST_F(WordListTest, WholeDrillInBothModesWithRestart) {
    load({"hund, vovve = dog, hound", "katt=cat", "to be=att vara", "ko cow", "\xC3\xA5sna=donkey"});
    words.setTitle("Djur");

    words.setNormalMode(true);
    const std::map<std::string, Expected> normal = {{"hund", {"dog", "HOUND"}},
                                                    {"katt", {"cat", "Cat"}},
                                                    {"to be", {"att vara", "att vara"}},
                                                    {"ko", {"cow", "COW"}},
                                                    {"\xC3\xA5sna", {"donkey", "donkey"}}};
    std::set<std::string> asked;
    while (words.drawNext()) {
        const Expected& expected = normal.at(words.question());
        asked.insert(words.question());
        EXPECT_FALSE(words.guess(words.question()));
        EXPECT_TRUE(words.guess(expected.acceptedGuess));
        EXPECT_EQ(words.answer(), expected.answer);
        words.markAnswered();
        EXPECT_EQ(words.answeredCount() + words.remainingCount(), 5u);
    }
    EXPECT_EQ(asked.size(), 5u);
    expectCounts(5, 0, 5, 5);

    words.restart();
    expectCounts(0, 5, 0, 0);

    words.setNormalMode(false);
    const std::map<std::string, Expected> reverse = {{"dog", {"hund", "Vovve"}},
                                                     {"cat", {"katt", "KATT"}},
                                                     {"att vara", {"to be", "To Be"}},
                                                     {"cow", {"ko", "ko"}},
                                                     {"donkey", {"\xC3\xA5sna", "\xC3\xA5SNA"}}};
    asked.clear();
    std::uint32_t step = 0;
    while (words.drawNext()) {
        const Expected& expected = reverse.at(words.question());
        asked.insert(words.question());
        // Every other entry is only revealed, after one wrong guess.
        if (step++ % 2 == 0) {
            EXPECT_TRUE(words.guess(expected.acceptedGuess));
        } else {
            EXPECT_FALSE(words.guess(""));
            EXPECT_EQ(words.answer(), expected.answer);
        }
        words.markAnswered();
    }
    EXPECT_EQ(asked.size(), 5u);
    expectCounts(5, 0, 3, 2);
    EXPECT_EQ(words.title(), "Djur");
}

}  // namespace
