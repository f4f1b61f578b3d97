// The Enter key: wherever the focus is, the window decides which button it presses.
#include <QApplication>
#include <QTest>
#include <QWidget>

#include "appfixture.h"

using namespace app_test;

namespace {

using EnterKey = AppTest;

const std::string oneEntry = "hund = dog\n";

}  // namespace

TEST_F(EnterKey, AtStartTheFocusIsOnOpenAndEnterOpensTheDialog) {
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(*form->openButton));
    chooseNext(write("one.txt", oneEntry));
    pressEnterOnFocus();
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(question(), "hund");
}

TEST_F(EnterKey, InTheGuessBoxGuessesAndNeverReachesTheBox) {
    open(write("one.txt", oneEntry));
    click(*form->revealOnWrongBox);
    type("cat");
    pressEnterOn(*form->guessBox);
    EXPECT_EQ(form->incorrectValue->text(), "1");
    EXPECT_EQ(form->guessBox->text(), "cat");

    type("dog");
    pressEnterOn(*form->guessBox);
    EXPECT_EQ(form->correctValue->text(), "1");
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(EnterKey, OnTheReadOnlyBoxesAndTheCheckBoxGuesses) {
    open(write("three.txt", "a=1\nb=2\nc=3\n"));
    click(*form->revealOnWrongBox);
    int wrong = 0;
    for (Control* control :
         std::initializer_list<Control*>{form->questionBox, form->answerBox, form->revealOnWrongBox}) {
        type("wrong");
        pressEnterOn(*control);
        EXPECT_EQ(form->incorrectValue->text(), std::to_string(++wrong));
    }
    EXPECT_FALSE(form->revealOnWrongBox->checked()) << "Enter must not toggle the check box";
}

TEST_F(EnterKey, OnARadioButtonGuessesWithTheGuessBoxText) {
    open(write("one.txt", oneEntry));
    type("dog");
    pressEnterOn(*form->normalRadio);
    EXPECT_EQ(form->correctValue->text(), "1");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(form->normalRadio->checked());
}

TEST_F(EnterKey, OnRevealRevealsAndOnNextGoesOn) {
    open(write("two.txt", "a=1\nb=2\n"));
    pressEnterOn(*form->revealButton);
    EXPECT_EQ(form->guessButton->text(), "&Next");
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::revealedColor);
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(*form->guessButton));

    pressEnterOn(*form->guessButton);
    EXPECT_EQ(form->guessButton->text(), "&Guess");
    EXPECT_EQ(form->answeredValue->text(), "1");
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(*form->guessBox));
}

TEST_F(EnterKey, OnRestartRestarts) {
    open(write("two.txt", "a=1\nb=2\n"));
    click(*form->revealButton);
    click(*form->guessButton);
    EXPECT_EQ(form->answeredValue->text(), "1");
    pressEnterOn(*form->restartButton);
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "2"}));
}

TEST_F(EnterKey, OnOpenOpensEvenDuringADrill) {
    open(write("two.txt", "a=1\nb=2\n"));
    type("1");
    pressEnterOn(*form->openButton);  // cancelled: nothing else may happen
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "2"}));
}

TEST_F(EnterKey, OnAboutShowsTheAboutWindow) {
    bool shown = false;
    const WhenAboutShown closing([&](QWidget& about) {
        shown = true;
        pressEnterOnFocus();
        EXPECT_FALSE(about.isVisible());
    });
    pressEnterOn(*form->aboutButton);
    EXPECT_TRUE(shown);
    EXPECT_EQ(visibleWindow("About"), nullptr);
    EXPECT_EQ(dialogs.size(), 0u);
}

TEST_F(EnterKey, WithoutADictionaryEnterOnTheGuessBoxDoesNothing) {
    type("dog");
    pressEnterOn(*form->guessBox);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(form->guessBox->text(), "dog");
}

// Only Enter itself is the window's shortcut.
TEST_F(EnterKey, OtherKeysAreLeftAlone) {
    open(write("one.txt", oneEntry));
    type("dog");
    form->guessBox->focus();
    for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
        QTest::keyClick(QApplication::focusWidget(), modifiers == Qt::NoModifier ? Qt::Key_Escape : Qt::Key_Return,
                        modifiers);
    }
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "1"}));
    EXPECT_TRUE(boxes.empty());
}
