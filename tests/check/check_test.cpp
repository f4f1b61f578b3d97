#include <gmock/gmock.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/optionlists.h"
#include "support/parserfixture.h"

using namespace std::string_literals;
using testsupport::ParserTest;
using testsupport::ToolRun;

class CheckTool : public ParserTest {
protected:
    ToolRun check(const std::string& arguments) const { return runTool(VERBARO_CHECK, arguments); }
};

TEST_F(CheckTool, ListsTheEntriesAsTheWordListKeepsThem) {
    write("main.txt", "@title Animals\nhund , vovve = dog,hound\nkatt=\n\"q\"=a\\b\t; c\n@import more.txt\n");
    write("more.txt", "x=\xE9\n\x01=y\n");
    write("bom.txt", "\xEF\xBB\xBF"
                     "a=\xFF\xC3\xA9");
    const ToolRun run = check("--dump main.txt bom.txt");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "main.txt: title \"Animals\", 5 entries\n"
                       "[\"\\u0001\"] = [\"y\"]\n"
                       "[\"x\"] = [\"\xC3\xA9\"]\n"
                       "[\"\\\"q\\\"\"] = [\"a\\\\b\"]\n"
                       "[\"katt\"] = []\n"
                       "[\"hund\", \"vovve\"] = [\"dog\", \"hound\"]\n"
                       "bom.txt: title \"\", 1 entry\n"
                       "[\"a\"] = [\"\\xFF\xC3\xA9\"]\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CheckTool, TellsWhereAndWhyTheLoadStopped) {
    write("main.txt", "a=1\n@import more.txt\n");
    write("more.txt", "b=2\nc=3\nbroken\n");
    write("good.txt", "g=1\n");
    const ToolRun run = check("main.txt missing.txt good.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "main.txt: title \"\", 3 entries before the error\n"
                       "missing.txt: title \"\", 0 entries before the error\n"
                       "good.txt: title \"\", 1 entry\n");
    EXPECT_EQ(run.err, "more.txt:3: Unable to read a dictionary entry from file. The file might be corrupt or "
                       "not a verbaro file.\n"
                       "missing.txt: Verbaro Tool was unable to open the specified file or any of its imports.\n");
}

TEST_F(CheckTool, WrongUsageExitsWithTwo) {
    EXPECT_EQ(check("").status, 2);
    EXPECT_EQ(check("--frobnicate main.txt").status, 2);
    const ToolRun help = check("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, testing::HasSubstr("--dump"));
    // The help and the manual page name the same options.
    const std::set<std::string> options = testsupport::optionsInUsage(help.out, 10);
    EXPECT_EQ(options, (std::set<std::string>{"--dump", "--lint", "--strict", "-h", "--help"}));
    EXPECT_EQ(options, testsupport::optionsInManualPage(VERBARO_CHECK_MANUAL));
}

TEST_F(CheckTool, LintWarnsAboutWhatTheDrillWouldTurnIntoAnnoyances) {
    using Files = std::vector<std::pair<std::string, std::string>>;
    const struct {
        Files files;  // main.txt is checked
        std::string warnings;
    } cases[] = {
        {{{"main.txt", "hund=dog\nkatt dog\nbig dog=stor hund\n"}}, ""},
        {{{"main.txt", "hund=dog,hound\nHUND = hound, DOG\nhund=cat\n\xC3\x85sna=donkey\n\xC3\xA5sna=ass\n"}},
         "main.txt:2: warning: the word \"HUND\" is also at main.txt:1, with the same translations\n"
         "main.txt:3: warning: the word \"hund\" is also at main.txt:1, with other translations\n"},
        {{{"main.txt", "hund=dog\nhund=cat\nhund = CAT\n"}},
         "main.txt:2: warning: the word \"hund\" is also at main.txt:1, with other translations\n"
         "main.txt:3: warning: the word \"hund\" is also at main.txt:2, with the same translations\n"},
        {{{"main.txt", "hund, Hund = dog, hound, DOG\na, b = x\na, b = y\n"}},
         "main.txt:1: warning: the word \"Hund\" is given twice\n"
         "main.txt:1: warning: the translation \"DOG\" is given twice\n"
         "main.txt:3: warning: the word \"a\" is also at main.txt:2, with other translations\n"},
        {{{"main.txt", "x =\n= y\na = b,,c,\n, q = r\n"}},
         "main.txt:1: warning: the entry has no translations\n"
         "main.txt:2: warning: the entry has no words\n"
         "main.txt:3: warning: empty translation (an empty answer is taken as right)\n"
         "main.txt:4: warning: empty word (an empty answer is taken as right)\n"},
        {{{"main.txt", "b\xC2\xA0"
                       "c=d\nx=\xE2\x80\x89y\nz=\xEF\xBB\xBFw\n\xE3\x80\x80v=u\n"}},
         "main.txt:1: warning: the word \"b\xC2\xA0"
         "c\" holds U+00A0, an invisible or non-breaking space\n"
         "main.txt:2: warning: the translation \"\xE2\x80\x89y\" holds U+2009, an invisible or non-breaking space\n"
         "main.txt:3: warning: the translation \"\xEF\xBB\xBFw\" holds U+FEFF, an invisible or non-breaking space\n"
         "main.txt:4: warning: the word \"\xE3\x80\x80v\" holds U+3000, an invisible or non-breaking space\n"},
        // One letter from a look-alike alphabet in a word; not letters of different words, nor a
        // combining mark, nor writing that mixes by nature.
        {{{"main.txt", "\u0421obaka = dog\n"
                       "IT-\u043A\u043E\u043C\u043F\u0430\u043D\u0438\u044F = IT company, A4\n"
                       "\u0438\u0306\u043E\u0434 = iodine\n"
                       "\u65E5\u672C\u8A9E\u3092\u8A71\u3059 = to speak Japanese\n"
                       "\u03BA\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 = g\u03BFod morning, "
                       "\u0441\u03BF\u0431\u0430\u043A\u0430\n"
                       "\u0421o = so\n"}},
         "main.txt:1: warning: the word \"\u0421obaka\" mixes Latin and Cyrillic letters, which look alike: U+0421 "
         "is Cyrillic\n"
         "main.txt:5: warning: the translation \"g\u03BFod morning\" mixes Latin and Greek letters, which look "
         "alike: U+03BF is Greek\n"
         "main.txt:5: warning: the translation \"\u0441\u03BF\u0431\u0430\u043A\u0430\" mixes Cyrillic and Greek "
         "letters, which look alike: U+03BF is Greek\n"
         "main.txt:6: warning: the word \"\u0421o\" mixes Cyrillic and Latin letters, which look alike: U+006F is "
         "Latin\n"},
        // The same words in two Unicode forms are repeats; a capital with an accent is not.
        {{{"main.txt", "cafe\u0301 = coffee\ncaf\u00E9 = coffee\nCAF\u00C9 = Kaffee\n"
                       "x = r\u00E9sum\u00E9, re\u0301sume\u0301\n"
                       "\u1112\u1161\u11AB = korean\n\uD55C = Korean\n"}},
         "main.txt:2: warning: the word \"caf\u00E9\" is also at main.txt:1, in another Unicode form, with the same "
         "translations\n"
         "main.txt:4: warning: the translation \"re\u0301sume\u0301\" is given twice, in another Unicode form\n"
         "main.txt:6: warning: the word \"\uD55C\" is also at main.txt:5, in another Unicode form, with the same "
         "translations\n"},
        // Unchecked after a UTF-8 mark, and no character: an overlong form of U+00A0.
        {{{"main.txt", "\xEF\xBB\xBFx=\xE0\x82\xA0y\n"}}, ""},
        {{{"main.txt", "hund=dog\n@import a.txt\n@import b.txt\n"},
          {"a.txt", "@import shared.txt\n"},
          {"b.txt", "\n@import shared.txt\n"},
          {"shared.txt", "HUND=dog\n@import deeper.txt\n"},
          {"deeper.txt", "deep=1\n"}},
         "shared.txt:1: warning: the word \"HUND\" is also at main.txt:1, with the same translations\n"
         "b.txt:2: warning: \"shared.txt\" was already read, imported at a.txt:1; its entries are added again\n"},
    };
    for (const auto& [files, warnings] : cases) {
        for (const auto& [name, text] : files) {
            write(name, text);
        }
        const ToolRun run = check("--lint main.txt");
        EXPECT_EQ(run.status, 0) << files.front().second;
        EXPECT_EQ(run.err, warnings) << files.front().second;
    }
}

TEST_F(CheckTool, StrictFailsOnAWarningAndAnErrorFailsEitherWay) {
    write("clean.txt", "hund=dog\n");
    write("repeated.txt", "hund=dog\nhund=dog\n");
    write("broken.txt", "hund=dog\nbroken\n");
    const struct {
        std::string arguments;
        int status;
        std::string out;
    } cases[] = {
        {"--lint repeated.txt", 0, "repeated.txt: title \"\", 2 entries, 1 warning\n"},
        {"--strict clean.txt", 0, "clean.txt: title \"\", 1 entry, 0 warnings\n"},
        {"--strict clean.txt repeated.txt", 1,
         "clean.txt: title \"\", 1 entry, 0 warnings\nrepeated.txt: title \"\", 2 entries, 1 warning\n"},
        {"--lint broken.txt", 1, "broken.txt: title \"\", 1 entry before the error, 0 warnings\n"},
    };
    for (const auto& [arguments, status, out] : cases) {
        const ToolRun run = check(arguments);
        EXPECT_EQ(run.status, status) << arguments;
        EXPECT_EQ(run.out, out) << arguments;
    }
}
