// The example dictionaries beside the program open as the learner would open them.
#include <filesystem>

#include "appfixture.h"

using namespace app_test;

using Examples = AppTest;

TEST_F(Examples, EveryExampleBesideTheProgramOpensWithItsTitle) {
    const std::filesystem::path examples = VERBARO_BUILT_EXAMPLES;
    int opened = 0;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        open(entry.path().string());
        EXPECT_TRUE(boxes.empty()) << entry.path() << ": " << (boxes.empty() ? "" : boxes.back().text);
        EXPECT_TRUE(form->guessButton->enabled()) << entry.path();
        EXPECT_NE(form->quizGroup->text(), "") << entry.path();
        boxes.clear();
        ++opened;
    }
    EXPECT_GE(opened, 3);
}

TEST_F(Examples, TheSwedishDictionaryBringsItsAnimalsAlong) {
    open((std::filesystem::path(VERBARO_BUILT_EXAMPLES) / "swedish-english.txt").string());
    EXPECT_EQ(form->quizGroup->text(), "Swedish - English: everyday words");
    open((std::filesystem::path(VERBARO_BUILT_EXAMPLES) / "swedish-english-animals.txt").string());
    const std::string animals = form->remainingValue->text();
    open((std::filesystem::path(VERBARO_BUILT_EXAMPLES) / "swedish-english.txt").string());
    EXPECT_GT(std::stoi(form->remainingValue->text()), std::stoi(animals) + 30);
}
