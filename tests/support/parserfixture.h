#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/wordlist.h"
#include "parser/parser.h"

// What the tests of the parser and of the command-line tools share.
namespace testsupport {

// Records what the parser hands over, in the order it does, on top of the real word list.
class RecordingWordList : public WordList {
public:
    void addEntry(const std::string& line) override {
        WordList::addEntry(line);
        lines.push_back(line);
    }
    void setTitle(const std::string& title) override {
        WordList::setTitle(title);
        ++titlesSet;
    }

    std::vector<std::string> lines;
    int titlesSet = 0;
};

// What a command-line tool did: its exit status (-1 when it did not end normally) and its output.
struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Each test gets a folder of its own for the dictionaries it writes.
class ParserTest : public ::testing::Test {
protected:
    ParserTest();
    ~ParserTest() override;

    std::string path(const std::string& name) const;
    void write(const std::string& name, std::string_view bytes) const;
    void makeFolder(const std::string& name) const;
    // Parses the named file of the test's folder into `words`; `parser` stays for inspection.
    void parse(const std::string& name);
    void parsePath(const std::string& fileName);
    // Runs the tool (a shell word) with the arguments in the test's folder.
    ToolRun runTool(const std::string& tool, const std::string& arguments) const;

    std::filesystem::path folder;
    RecordingWordList words;
    std::unique_ptr<Parser> parser;
};

}  // namespace testsupport
