#include <gmock/gmock.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "parserfixture.h"

using namespace std::string_literals;

class CheckTool : public ParserTest {
protected:
    ToolRun check(const std::string& arguments) const { return runTool(VERBARO_CHECK, arguments); }
};

TEST_F(CheckTool, ListsTheEntriesAsTheWordListKeepsThem) {
    write("main.txt", "@title Animals\nhund , vovve = dog,hound\nkatt=\n\"q\"=a\\b\t; c\n@import more.txt\n");
    write("more.txt", "x=\xE9\n\x01=y\n");
    write("bom.txt", "\xEF\xBB\xBF" "a=\xFF\xC3\xA9");
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
}
