// What the command-line tools share: texts quoted for messages, places in files, the reporter.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/quoting.h"
#include "common/report.h"

using namespace std::string_literals;

namespace {

// What the reporter printed, read back from the file it printed to.
class PrintedText {
public:
    std::FILE* stream() { return file_.get(); }
    std::string text() {
        std::fflush(file_.get());
        std::rewind(file_.get());
        std::string out;
        for (int byte; (byte = std::fgetc(file_.get())) != EOF;) {
            out += static_cast<char>(byte);
        }
        return out;
    }

private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{std::tmpfile(), &std::fclose};
};

}  // namespace

TEST(Quoting, EscapesWhatDoesNotPrintAndKeepsEveryWellFormedCharacter) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"say \"hi\" \\ bye"s, R"("say \"hi\" \\ bye")"},
        {"\n\r\t\x01\x7F"s, R"("\n\r\t\u0001\u007F")"},
        {"\xC3\xA9\xF0\x9F\x98\x80"s, "\"\xC3\xA9\xF0\x9F\x98\x80\""},
        {"\xE9t\xC3"s, R"("\xE9t\xC3")"},
        {"\xE0\x82\xA0"s, R"("\xE0\x82\xA0")"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(::quoted(text), shown) << testing::PrintToString(text);
    }
}

TEST(Places, NameTheLineOnlyWhenOneIsMeant) {
    EXPECT_EQ(placeText("words.csv", 12), "words.csv:12");
    EXPECT_EQ(placeText("words.csv", 0), "words.csv");
}

TEST(Reporter, TellsEachKindAtItsPlaceAndCountsWhatItLeavesOut) {
    PrintedText printed;
    Reporter reporter("in.csv", false, printed.stream());
    reporter.skip(3, "the word is empty");
    reporter.skip(7, "a line break", "more.txt");
    reporter.warn(0, "read as Windows-1252");
    reporter.fail(InputError(9, "a quotation mark out of place"));
    EXPECT_EQ(printed.text(), "in.csv:3: skipped: the word is empty\n"
                              "more.txt:7: skipped: a line break\n"
                              "in.csv: warning: read as Windows-1252\n"
                              "in.csv:9: a quotation mark out of place\n");
    EXPECT_EQ(reporter.skipCount(), 2u);
}

TEST(Reporter, MakesWhatItWouldLeaveOutAnErrorWhenStrict) {
    PrintedText printed;
    Reporter reporter("in.csv", true, printed.stream());
    try {
        reporter.skip(4, "the word is empty", "more.txt");
        FAIL() << "no error";
    } catch (const InputError& error) {
        EXPECT_EQ(error.line(), 4u);
        EXPECT_EQ(error.file(), "more.txt");
        EXPECT_STREQ(error.what(), "the word is empty");
    }
    EXPECT_EQ(reporter.skipCount(), 0u);
    EXPECT_EQ(printed.text(), "");
}
