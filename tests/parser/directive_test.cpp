#include <gmock/gmock.h>

#include "support/parserfixture.h"

using namespace std::string_literals;
using testing::ElementsAre;
using testing::IsEmpty;
using testsupport::ParserTest;
using testsupport::RecordingWordList;

using Titles = ParserTest;

TEST_F(Titles, KeywordIsMatchedAtTheStartIgnoringAsciiCase) {
    for (const auto& [line, title] : {std::pair{"@TITLE Animals"s, "Animals"s},
                                      {"@Title   Animals \t"s, "Animals"s},
                                      {"@titleAnimals"s, "Animals"s},
                                      {"@titles"s, "s"s},
                                      {"@title a pet ; not a comment"s, "a pet ; not a comment"s}}) {
        RecordingWordList separate;
        write("d.txt", line);
        Parser(path("d.txt"), separate).parse();
        EXPECT_EQ(separate.title(), title) << line;
    }
}

TEST_F(Titles, TheFirstTitleLineWinsEvenWhenItIsEmpty) {
    write("d.txt", "@title\n@title Animals\na=b\n@title Birds\n");
    parse("d.txt");
    EXPECT_EQ(words.title(), "");
    EXPECT_EQ(words.titlesSet, 1);
}

TEST_F(Titles, AnImportedTitleNeverReplacesTheChosenFilesTitle) {
    write("main.txt", "@import a.txt\na=1\n@title Main\n");
    write("a.txt", "@title Animals\n");
    parse("main.txt");
    EXPECT_EQ(words.title(), "Main");
}

TEST_F(Titles, WithoutOwnTitleTheFirstImportReadSetsIt) {
    write("main.txt", "@import a.txt\n@import b.txt\n");
    write("a.txt", "@title Animals\n");
    write("b.txt", "@title Birds\n");
    parse("main.txt");
    EXPECT_EQ(words.title(), "Animals");
}

TEST_F(Titles, ATitleSetBeforeAnErrorStays) {
    write("d.txt", "@title Animals\n@ver 2.0\n");
    EXPECT_THROW(parse("d.txt"), FileUnsupported);
    EXPECT_EQ(words.title(), "Animals");
}

using Versions = ParserTest;

TEST_F(Versions, OnlyOnePointZeroIsAccepted) {
    write("d.txt", "@ver 1.0\n@VER 1.0\n@ver1.0\n@ver    1.0   \n@Ver\t1.0\na=b\n@ver 1.0\n");
    parse("d.txt");
    EXPECT_THAT(words.lines, ElementsAre("a=b"));
}

TEST_F(Versions, AnythingElseRefusesTheFile) {
    for (const std::string& line : {"@ver 1.0 ; current"s, "@ver 2.0"s, "@ver 1"s, "@ver 1.00"s, "@ver 1.0.0"s, "@ver"s,
                                    "@version 1.0"s, "@ver 1,0"s}) {
        write("d.txt", line);
        EXPECT_THROW(parse("d.txt"), FileUnsupported) << line;
    }
}

TEST_F(Versions, ARefusalKeepsTheEntriesAboveIt) {
    write("d.txt", "a=1\nb=2\n@ver 2.0\nc=3\n");
    try {
        parse("d.txt");
        FAIL() << "no error";
    } catch (const FileUnsupported& error) {
        EXPECT_EQ(error.message(), "The file is of another version than Verbaro Tool can handle.\n"
                                   "Please update to a newer version of Verbaro Tool.");
        EXPECT_EQ(error.toString(), "parser.FileUnsupported");
    }
    EXPECT_THAT(words.lines, ElementsAre("a=1", "b=2"));
    EXPECT_EQ(parser->currentLine(), 3u);
}

using UnknownDirectives = ParserTest;

TEST_F(UnknownDirectives, AreRefused) {
    for (const std::string& line :
         {"@"s, "@ title Animals"s, "@titel Animals"s, "@impor a.txt"s, "@v"s, "@\xC3\xAFmport a.txt"s, "@TITL"s}) {
        write("d.txt", "a=1\n" + line + "\nb=2");
        EXPECT_THROW(parse("d.txt"), FileUnsupported) << line;
    }
    EXPECT_THAT(words.lines, ElementsAre("a=1", "a=1", "a=1", "a=1", "a=1", "a=1", "a=1"));
}

using ImportLines = ParserTest;

TEST_F(ImportLines, ThePathIsTheTrimmedRestOfTheLineAsWritten) {
    write("main.txt", "@IMPORT   a.txt  \n@importer.txt\n");
    write("a.txt", "a=1\n");
    write("er.txt", "e=2\n");
    parse("main.txt");
    EXPECT_THAT(words.lines, ElementsAre("a=1", "e=2"));
}

TEST_F(ImportLines, PathsThatNameNoFileFail) {
    write("more.txt", "m=1\n");
    for (const std::string& line : {"@import more.txt ; extra words"s, "@import \"more.txt\""s, "@import"s,
                                    "@import   "s, "@import more.txt\0junk"s}) {
        write("main.txt", "a=1\n" + line + "\n");
        try {
            parse("main.txt");
            ADD_FAILURE() << "no error for " << testing::PrintToString(line);
        } catch (const FileError& error) {
            EXPECT_EQ(error.message(), "Verbaro Tool was unable to open the specified file or any of its imports.");
            EXPECT_EQ(error.toString(), "parser.FileError");
        }
    }
    EXPECT_EQ(std::count(words.lines.begin(), words.lines.end(), "m=1"), 0);
}
