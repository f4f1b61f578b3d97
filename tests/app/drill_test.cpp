// The drill through the real window: open, guess, reveal, next, restart, the answer mode and the
// final accuracy, from dictionary files written for each test.
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>

#include "appfixture.h"

using namespace app_test;

namespace {

const std::map<std::string, std::string> threeAnswers = {{"a", "1"}, {"b", "2"}, {"c", "3"}};
const std::string threeEntries = "a=1\nb=2\nc=3\n";

std::string accuracyText(int percent) {
    return "You have completed the dictionary.\n\nYour accuracy is " + std::to_string(percent) + " %\n";
}

using Drill = AppTest;

// What every state of the drill shows of its buttons: restart, reveal, guess enabled, guess text.
struct Buttons {
    bool restart;
    bool reveal;
    bool guess;
    std::string guessText;
    bool operator==(const Buttons&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Buttons& b) {
    return out << "restart " << b.restart << ", reveal " << b.reveal << ", guess " << b.guess << " \"" << b.guessText
               << "\"";
}

Buttons buttonsOf(const MyForm& form) {
    return {form.restartButton->enabled(), form.revealButton->enabled(), form.guessButton->enabled(),
            form.guessButton->text()};
}

const Buttons noDictionary{false, false, false, "&Guess"};
const Buttons asking{true, true, true, "&Guess"};
const Buttons answerOnShow{true, false, true, "&Next"};
const Buttons finished{true, false, false, "&Guess"};

}  // namespace

TEST_F(Drill, OneEntryGuessedRightEndsAtOnceAndRestartsFromZero) {
    open(write("one.txt", "@title Pets\nhund = dog, hound\n"));
    EXPECT_EQ(buttonsOf(*form), asking);
    EXPECT_EQ(question(), "hund");
    EXPECT_EQ(form->quizGroup->text(), "Pets");
    EXPECT_EQ(form->text(), "Verbaro Tool");
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "1"}));
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(*form->guessBox));

    guess("HOUND");
    EXPECT_EQ(buttonsOf(*form), finished);
    EXPECT_EQ(counters(), (std::vector<std::string>{"1", "0", "1", "0"}));
    EXPECT_EQ(question(), "");
    EXPECT_EQ(form->guessBox->text(), "");
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::correctColor);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, accuracyText(100));
    EXPECT_EQ(boxes[0].caption, "Verbaro Tool");
    EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Information);

    click(*form->restartButton);
    EXPECT_EQ(buttonsOf(*form), asking);
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "1"}));
    EXPECT_EQ(question(), "hund");
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::neutralColor);
    EXPECT_EQ(form->quizGroup->text(), "Pets");
}

TEST_F(Drill, TwoRightAndOneRevealedGiveSixtySixPercent) {
    open(write("three.txt", threeEntries));
    guess(answerFor(threeAnswers));
    guess(answerFor(threeAnswers));
    click(*form->revealButton);
    EXPECT_TRUE(boxes.empty());
    click(*form->guessButton);

    EXPECT_EQ(counters(), (std::vector<std::string>{"2", "0", "3", "0"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, accuracyText(66));
    EXPECT_EQ(buttonsOf(*form), finished);
    // The last verdict was a Reveal: Next put the colour back to neutral.
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::neutralColor);
}

TEST_F(Drill, WrongGuessesWithoutRevealKeepTheEntryAndSelectTheGuess) {
    open(write("one.txt", "katt = cat\n"));
    click(*form->revealOnWrongBox);

    guess("dog");
    EXPECT_EQ(buttonsOf(*form), asking);
    EXPECT_EQ(question(), "katt");
    EXPECT_EQ(form->answerBox->text(), "");
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::wrongColor);
    EXPECT_EQ(form->guessBox->text(), "dog");
    auto* guessEdit = qobject_cast<QLineEdit*>(widgetOf(*form->guessBox));
    ASSERT_NE(guessEdit, nullptr);
    EXPECT_EQ(guessEdit->selectedText(), "dog");
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "1", "0", "1"}));

    guess("cat ");  // a trailing blank is part of the guess
    guess("Cat");
    EXPECT_EQ(counters(), (std::vector<std::string>{"1", "2", "1", "0"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, accuracyText(100));
}

TEST_F(Drill, WrongGuessThatRevealsCountsAtOnceAndEnterGoesOn) {
    open(write("two.txt", "a=1\nb=2\n"));
    const std::string first = question();
    guess("wrong");

    EXPECT_EQ(buttonsOf(*form), answerOnShow);
    EXPECT_EQ(form->answerBox->text(), first == "a" ? "1" : "2");
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::wrongColor);
    EXPECT_EQ(form->guessBox->text(), "wrong");
    EXPECT_EQ(question(), first);
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "1", "1", "1"}));
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(*form->guessButton));

    pressEnterOnFocus();
    EXPECT_EQ(buttonsOf(*form), asking);
    EXPECT_NE(question(), first);
    EXPECT_EQ(form->answerBox->text(), "");
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::neutralColor);
    // Guess guesses again, it no longer goes on.
    guess(first == "a" ? "2" : "1");
    EXPECT_EQ(counters(), (std::vector<std::string>{"1", "1", "2", "0"}));
}

TEST_F(Drill, RevealLeavesTheCountersUntilNext) {
    open(write("two.txt", "a=1\nb=2\n"));
    guess(answerFor({{"a", "1"}, {"b", "2"}}));
    const std::vector<std::string> before{"1", "0", "1", "1"};
    EXPECT_EQ(counters(), before);

    const std::string asked = question();
    click(*form->revealButton);
    EXPECT_EQ(buttonsOf(*form), answerOnShow);
    EXPECT_EQ(form->answerBox->text(), asked == "a" ? "1" : "2");
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::revealedColor);
    EXPECT_EQ(counters(), before);
    EXPECT_EQ(QApplication::focusWidget(), widgetOf(*form->guessButton));

    click(*form->guessButton);
    EXPECT_EQ(counters(), (std::vector<std::string>{"1", "0", "2", "0"}));
    EXPECT_EQ(buttonsOf(*form), finished);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, accuracyText(50));
}

TEST_F(Drill, EveryEntryRevealedGivesZeroPercent) {
    open(write("three.txt", threeEntries));
    for (int entry = 0; entry < 3; ++entry) {
        click(*form->revealButton);
        click(*form->guessButton);
    }
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "3", "0"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, accuracyText(0));
}

TEST_F(Drill, RestartFromEveryStateAsksEverythingAgain) {
    open(write("three.txt", threeEntries));
    guess(answerFor(threeAnswers));
    click(*form->restartButton);  // from asking
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "3"}));
    EXPECT_EQ(buttonsOf(*form), asking);

    click(*form->revealButton);
    click(*form->restartButton);  // from an answer on show
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "3"}));
    EXPECT_EQ(buttonsOf(*form), asking);
    EXPECT_EQ(form->answerBox->text(), "");
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::neutralColor);
    guess(answerFor(threeAnswers));
    EXPECT_EQ(counters(), (std::vector<std::string>{"1", "0", "1", "2"})) << "Guess guesses, it does not go on";
}

TEST_F(Drill, SwitchingToReverseTakesEffectAtTheNextWord) {
    open(write("two.txt", "a=1\nb=2\n"));
    const std::string asked = question();
    click(*form->reverseRadio);
    EXPECT_TRUE(form->reverseRadio->checked());
    EXPECT_FALSE(form->normalRadio->checked());
    EXPECT_EQ(question(), asked);

    // The word on show keeps its mode: it still wants the translation.
    guess(asked == "a" ? "1" : "2");
    EXPECT_EQ(counters(), (std::vector<std::string>{"1", "0", "1", "1"}));
    const std::string reversed = question();
    EXPECT_EQ(reversed, asked == "a" ? "2" : "1");
    guess(reversed == "1" ? "a" : "b");
    EXPECT_EQ(counters(), (std::vector<std::string>{"2", "0", "2", "0"}));
}

TEST_F(Drill, RestartReadsTheAnswerModeAgain) {
    open(write("one.txt", "hund = dog\n"));
    click(*form->reverseRadio);
    click(*form->restartButton);
    EXPECT_EQ(question(), "dog");
    click(*form->revealButton);
    EXPECT_EQ(form->answerBox->text(), "hund");
}

TEST_F(Drill, CancellingOpenLeavesTheDrillAsItWas) {
    open(write("three.txt", "@title Letters\n" + threeEntries));
    guess(answerFor(threeAnswers));
    click(*form->revealButton);
    const std::string asked = question();
    const std::string shown = form->answerBox->text();

    cancelOpen();
    EXPECT_EQ(buttonsOf(*form), answerOnShow);
    EXPECT_EQ(question(), asked);
    EXPECT_EQ(form->answerBox->text(), shown);
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::revealedColor);
    EXPECT_EQ(form->quizGroup->text(), "Letters");
    EXPECT_EQ(counters(), (std::vector<std::string>{"1", "0", "1", "2"}));
    EXPECT_TRUE(boxes.empty());
    // The dictionary is still there to go on with.
    click(*form->guessButton);
    EXPECT_EQ(counters(), (std::vector<std::string>{"1", "0", "2", "1"}));
    EXPECT_EQ(buttonsOf(*form), asking);
}

TEST_F(Drill, OpeningAnotherDictionaryStartsAfresh) {
    open(write("three.txt", threeEntries));
    guess("wrong");
    open(write("one.txt", "hund = dog\n"));
    EXPECT_EQ(buttonsOf(*form), asking);
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "1"}));
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::neutralColor);
    EXPECT_EQ(form->answerBox->text(), "");
    EXPECT_EQ(form->guessBox->text(), "");
    EXPECT_EQ(question(), "hund");
}

TEST_F(Drill, TheDictionaryTitleNeverReachesTheWindowCaption) {
    open(write("titled.txt", "@title Animals\nhund = dog\n"));
    EXPECT_EQ(form->quizGroup->text(), "Animals");
    EXPECT_EQ(form->text(), "Verbaro Tool");
    open(write("untitled.txt", "hund = dog\n"));
    EXPECT_EQ(form->quizGroup->text(), "");
}

TEST_F(Drill, ATitleIsShownAsWrittenAmpersandsIncluded) {
    open(write("spices.txt", "@title Salt & Pepper: R&D\nsalz = salt\n"));
    const QAccessibleInterface* caption = QAccessible::queryAccessibleInterface(widgetOf(*form->quizGroup));
    EXPECT_EQ(caption->text(QAccessible::Name), "Salt & Pepper: R&D");
    EXPECT_TRUE(caption->text(QAccessible::Accelerator).isEmpty()) << "no letter of a title is an access key";
}

// The word on show is told with "Your answer:", where the focus stays; the verdict with the box that
// shows its colour.
TEST_F(Drill, EveryWordAndEveryVerdictIsToldInWords) {
    const auto description = [](Control& control) {
        return QAccessible::queryAccessibleInterface(widgetOf(control))->text(QAccessible::Description).toStdString();
    };
    const auto toldWord = [&] { return description(*form->guessBox) == "Word to translate: " + question(); };
    open(write("three.txt", threeEntries));
    EXPECT_TRUE(toldWord());
    EXPECT_EQ(description(*form->answerBox), "");
    guess("wrong");
    EXPECT_EQ(description(*form->answerBox), "Wrong");
    pressEnterOn(*form->guessButton);
    EXPECT_TRUE(toldWord());
    EXPECT_EQ(description(*form->answerBox), "");
    guess(answerFor(threeAnswers));
    EXPECT_EQ(description(*form->answerBox), "Right");
    EXPECT_TRUE(toldWord());
    click(*form->revealButton);
    EXPECT_EQ(description(*form->answerBox), "Revealed");
    pressEnterOn(*form->guessButton);
    EXPECT_EQ(description(*form->guessBox), "") << "no word once the dictionary is done";
}
