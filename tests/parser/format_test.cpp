#include <gmock/gmock.h>

#include "program/exception.h"
#include "support/parserfixture.h"

using namespace std::string_literals;
using testing::ElementsAre;
using testing::IsEmpty;
using testsupport::ParserTest;
using testsupport::RecordingWordList;

namespace {

const std::string encodingMessage = "Unsupported character encoding in read file.\nExpected UTF8 or ANSI file.";

}  // namespace

using LineEnds = ParserTest;

TEST_F(LineEnds, LfCrAndCrLfReadAlike) {
    for (const std::string& end : {"\n"s, "\r"s, "\r\n"s}) {
        RecordingWordList separate;
        write("d.txt", "a=1" + end + "b=2" + end + end + "c=3");
        Parser(path("d.txt"), separate).parse();
        EXPECT_THAT(separate.lines, ElementsAre("a=1", "b=2", "c=3")) << testing::PrintToString(end);
    }
}

TEST_F(LineEnds, CrLfIsOneLineEndAndCrCrIsTwo) {
    write("d.txt", "a=1\r\nb=2\r\r@bad");
    EXPECT_THROW(parse("d.txt"), FileUnsupported);
    EXPECT_EQ(parser->currentLine(), 4u);
}

TEST_F(LineEnds, FileEndingInCrHasNoExtraLine) {
    write("d.txt", "a=1\rb=2\r");
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("a=1", "b=2"));
    EXPECT_EQ(parser->currentLine(), 2u);
}

TEST_F(LineEnds, CrLfSplitAcrossReadBlocksIsStillOneLineEnd) {
    // Blocks of 64 KiB are read: the CR is the last byte of the first block, the LF the first of the next.
    for (const std::size_t length : {65535u, 65534u, 65536u, 131071u}) {
        write("d.txt", "a=" + std::string(length - 2, 'x') + "\r\n@bad\r\n");
        EXPECT_THROW(parse("d.txt"), FileUnsupported) << length;
        EXPECT_EQ(parser->currentLine(), 2u) << length;
        ASSERT_EQ(words.lines.size(), 1u);
        EXPECT_EQ(words.lines.front().size(), length);
        words.lines.clear();
    }
}

TEST_F(LineEnds, NulIsContent) {
    write("d.txt", "a\0b=c\0\nd=e"s);
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("a\0b=c\0"s, "d=e"));
}

TEST_F(LineEnds, TenMegabyteLineIsOneEntry) {
    const std::string translation(std::size_t{10} * 1024 * 1024, 'b');
    write("d.txt", "a=" + translation + "\n" + "c=\xE9" + translation);
    parse("d.txt");
    ASSERT_EQ(words.lines.size(), 2u);
    EXPECT_EQ(words.lines[0], "a=" + translation);
    EXPECT_EQ(words.lines[1], "c=\xC3\xA9" + translation);
}

using ByteOrderMarks = ParserTest;

TEST_F(ByteOrderMarks, Utf8MarkIsDroppedAndItsLinesAreNotValidated) {
    write("d.txt", "\xEF\xBB\xBF@title Animals\nhund=\xE9");
    parse("d.txt");
    EXPECT_EQ(words.title(), "Animals");
    EXPECT_THAT(words.lines, ElementsAre("hund=\xE9"));
}

TEST_F(ByteOrderMarks, ABareMarkIsAnEmptyDictionary) {
    for (const std::string& mark : {"\xEF\xBB\xBF"s, "\xFF\xFE"s, "\xFE\xFF"s, "\xFF\xFE\0\0"s, "\0\0\xFE\xFF"s}) {
        write("d.txt", mark);
        EXPECT_NO_THROW(parse("d.txt")) << testing::PrintToString(mark);
    }
    EXPECT_THAT(words.lines, IsEmpty());
}

TEST_F(ByteOrderMarks, Utf16AndUtf32MarksRefuseTheFileBeforeItsFirstLineIsUsed) {
    for (const std::string& file : {"\xFF\xFE"
                                    "a\0=\0b\0"s,
                                    "\xFE\xFF\0a\0=\0b"s, "\xFF\xFE\0\0\n"s, "\0\0\xFE\xFF\0\0\0a"s, "\xFF\xFE\0"s}) {
        write("d.txt", file);
        try {
            parse("d.txt");
            ADD_FAILURE() << "no error for " << testing::PrintToString(file);
        } catch (const AppException&) {
            ADD_FAILURE() << "the encoding error is not one of the program's own errors";
        } catch (const Exception& error) {
            EXPECT_EQ(error.message(), encodingMessage);
            EXPECT_EQ(parser->currentLine(), 1u);
        }
    }
    EXPECT_THAT(words.lines, IsEmpty());
}

TEST_F(ByteOrderMarks, BytesOfAnIncompleteMarkBelongToTheFirstLine) {
    write("d.txt", "\xEF\xBB"
                   "a=b");
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("\xC3\xAF\xC2\xBB"
                                         "a=b"));
}

TEST_F(ByteOrderMarks, AMarkIsOnlyLookedForAtTheStart) {
    write("d.txt", "a=b\n\xFF\xFE"
                   "c=d");
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("a=b", "\xC3\xBF\xC3\xBE"
                                                "c=d"));
}

using LineDecoding = ParserTest;

TEST_F(LineDecoding, Utf8AndAnsiLinesOfTheSameWordGiveTheSameText) {
    write("d.txt", "Gr\xC3\xBC\xC3\x9F"
                   "e=greetings\nGr\xFC\xDF"
                   "e=greetings\n");
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("Gr\xC3\xBC\xC3\x9F"
                                         "e=greetings",
                                         "Gr\xC3\xBC\xC3\x9F"
                                         "e=greetings"));
}

TEST_F(LineDecoding, AnIllFormedLineIsConvertedWhole) {
    // The UTF-8 sequence after the ANSI byte is taken as two ANSI characters as well.
    write("d.txt", "\xFC=Gr\xC3\xBC\xC3\x9F"
                   "e\nok=fine");
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("\xC3\xBC=Gr\xC3\x83\xC2\xBC\xC3\x83\xC5\xB8"
                                         "e",
                                         "ok=fine"));
}

TEST_F(LineDecoding, OnlyTheSixAsciiWhiteSpaceBytesAreTrimmed) {
    write("d.txt", "\t\v\f a=b \t\f\v\n"
                   "\xC2\xA0@title Animals\n"
                   "\xA0"
                   "c=d\xA0");
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("a=b", "\xC2\xA0@title Animals",
                                         "\xC2\xA0"
                                         "c=d\xC2\xA0"));
    EXPECT_EQ(words.titlesSet, 0);
}

using LineKinds = ParserTest;

TEST_F(LineKinds, BlankAndCommentLinesAddNothing) {
    for (const std::string& file : {""s, "\n\n  \t\n"s, "; note\n   ; a note\n;\n"s}) {
        write("d.txt", file);
        parse("d.txt");
    }
    EXPECT_THAT(words.lines, IsEmpty());
    EXPECT_EQ(words.titlesSet, 0);
}

TEST_F(LineKinds, TheCommentOfAnEntryLineIsCutAtTheFirstSemicolon) {
    write("d.txt", "dog=Hund ; a pet; really\ncat=Katze;\na@b=c\n");
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("dog=Hund ", "cat=Katze", "a@b=c"));
}

TEST_F(LineKinds, AMalformedEntryEndsTheLoadAndKeepsTheEntriesAboveIt) {
    write("d.txt", "a=1\nb=2\nlonely ; only one word\nc=3\n");
    EXPECT_THROW(parse("d.txt"), MalformedEntry);
    EXPECT_THAT(words.lines, ElementsAre("a=1", "b=2"));
    EXPECT_EQ(words.remainingCount(), 2u);
    EXPECT_EQ(parser->currentLine(), 3u);
}
