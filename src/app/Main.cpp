#include "app/Main.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "app/info.h"
#include "model/appexception.h"
#include "parser/parser.h"
#include "program/exception.h"
#include "program/identity.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"

namespace {

// The text boxes read better a little larger than the dialog font; each box gets its own font.
std::shared_ptr<Font> largeFont() {
    return std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Regular, GraphicsUnit::Point);
}

// A caption that shows the text as written: every "&" doubled, so that none is taken for the mark
// of an access key.
std::string asWritten(const std::string& text) {
    std::string caption;
    for (const char c : text) {
        caption += c;
        if (c == '&') {
            caption += '&';
        }
    }
    return caption;
}

}  // namespace

MyForm::MyForm() {
    buildLayout();
    showNoDictionary();
}

void MyForm::buildLayout() {
    setBorderStyle(FormBorderStyle::DialogFrame);
    setHasMaximizeButton(false);
    setText(programName);
    setClientAreaSize(411, 315);

    openButton = addControl<Button>(this, "&Open...", {8, 14, 80, 24});
    restartButton =
        addControl<Button>(this, "&Restart", {8, 46, 80, 24}, [](Button& button) { button.setEnabled(false); });
    modeLabel = addControl<Label>(this, "Answer mode:", {12, 88, 69, 13});
    normalRadio =
        addControl<RadioButton>(this, "Normal", {16, 112, 72, 16}, [](RadioButton& radio) { radio.setChecked(true); });
    reverseRadio = addControl<RadioButton>(this, "Reverse", {16, 136, 72, 16});
    aboutButton = addControl<Button>(this, "&About...", {8, 248, 80, 24});
    exitButton = addControl<Button>(this, "E&xit", {8, 280, 80, 24});
    quizGroup = addControl<GroupBox>(this, "", {96, 8, 304, 296});

    // A count cell measures its text, so that a count wider than the cell can widen it.
    const auto rightAligned = [](Label& label) {
        label.setAlignment(ContentAlignment::TopRight);
        label.setFitToText(true);
    };
    correctLabel = addControl<Label>(quizGroup, "Correct:", {16, 31, 48, 16});
    correctValue = addControl<Label>(quizGroup, "0", {84, 31, 24, 16}, rightAligned);
    incorrectLabel = addControl<Label>(quizGroup, "Incorrect:", {16, 55, 56, 16});
    incorrectValue = addControl<Label>(quizGroup, "0", {84, 55, 24, 16}, rightAligned);
    answeredLabel = addControl<Label>(quizGroup, "Answered:", {164, 31, 64, 16});
    answeredValue = addControl<Label>(quizGroup, "0", {236, 31, 24, 16}, rightAligned);
    remainingLabel = addControl<Label>(quizGroup, "Remaining:", {164, 55, 64, 16});
    remainingValue = addControl<Label>(quizGroup, "0", {236, 55, 24, 16}, rightAligned);

    const auto fittedToText = [](Label& label) { label.setFitToText(true); };
    questionLabel = addControl<Label>(quizGroup, "Word to translate:", {16, 86, 89, 13}, fittedToText);
    questionBox = addControl<TextBox>(quizGroup, "", {16, 104, 272, 24}, [](TextBox& box) {
        box.setFont(largeFont());
        box.setReadOnly(true);
        box.setAlignment(HorizontalAlignment::Center);
    });
    answerBox = addControl<TextBox>(quizGroup, "", {16, 136, 272, 24}, [](TextBox& box) {
        box.setBackgroundColor(neutralColor);
        box.setFont(largeFont());
        box.setReadOnly(true);
        box.setAlignment(HorizontalAlignment::Center);
    });
    guessLabel = addControl<Label>(quizGroup, "Your answer:", {16, 174, 64, 13}, fittedToText);
    guessBox = addControl<TextBox>(quizGroup, "", {16, 192, 272, 24}, [](TextBox& box) {
        box.setFont(largeFont());
        box.setAlignment(HorizontalAlignment::Center);
    });
    const auto disabled = [](Button& button) { button.setEnabled(false); };
    revealButton = addControl<Button>(quizGroup, "Re&veal", {130, 224, 75, 24}, disabled);
    guessButton = addControl<Button>(quizGroup, "&Guess", {213, 224, 75, 24}, disabled);
    revealOnWrongBox = addControl<CheckBox>(quizGroup, "Wrong guess reveals answer", {16, 263, 168, 16},
                                            [](CheckBox& box) { box.setChecked(true); });

    // For a screen reader: each count with its caption ("Correct: 3"), each box by its label.
    correctValue->setLabelledBy(correctLabel);
    incorrectValue->setLabelledBy(incorrectLabel);
    answeredValue->setLabelledBy(answeredLabel);
    remainingValue->setLabelledBy(remainingLabel);
    questionBox->setLabelledBy(questionLabel);
    answerBox->setAccessibleName("Expected answer:");
    guessBox->setLabelledBy(guessLabel);

    openButton->click += [this](Control&, EventArgs&) { onOpen(); };
    restartButton->click += [this](Control&, EventArgs&) { onRestart(); };
    aboutButton->click += [this](Control&, EventArgs&) { onAbout(); };
    exitButton->click += [this](Control&, EventArgs&) { onExit(); };
    revealButton->click += [this](Control&, EventArgs&) { onReveal(); };
    guessButton->click += [this](Control&, EventArgs&) { onGuess(); };
    addKeyShortcut(Keys::Enter, [this](Form&, FormShortcutEventArgs& args) { onEnterShortcut(args); });

    guessButton->markDefault(true);
    setIcon(Application::programResources().loadIcon(programIconId, true));
    setInitialPosition(FormStartPosition::CenterOnScreen);
    lastFolder = folderOf(programPath());
}

void MyForm::showNoDictionary() {
    wordList.reset();
    quizGroup->setText("");
    enableDrillButtons(false);
    showQuestion("");
    clearAnswerAndGuess();
    showVerdict(noVerdict);
    clearAnswerShown();
    updateCounters();
}

void MyForm::enableDrillButtons(bool enabled) {
    restartButton->setEnabled(enabled);
    guessButton->setEnabled(enabled);
    revealButton->setEnabled(enabled);
}

void MyForm::clearAnswerShown() {
    guessButton->setText("&Guess");
    answerShown = false;
}

void MyForm::clearAnswerAndGuess() {
    answerBox->setText("");
    guessBox->setText("");
}

void MyForm::updateCounters() {
    if (!wordList) {
        for (Label* value : {correctValue, incorrectValue, answeredValue, remainingValue}) {
            showCount(*value, 0);
        }
        return;
    }
    showCount(*correctValue, wordList->correctCount());
    showCount(*incorrectValue, wordList->incorrectCount());
    showCount(*answeredValue, wordList->answeredCount());
    showCount(*remainingValue, wordList->remainingCount());
}

void MyForm::startDrill() {
    if (wordList->remainingCount() == 0) {
        messageBox("Unable to initialize the current dictionary.", programName, MessageBoxIcon::Information);
        showNoDictionary();
        return;
    }
    quizGroup->setText(asWritten(wordList->title()));
    wordList->setNormalMode(normalRadio->checked());
    enableDrillButtons(true);
    showVerdict(noVerdict);
    clearAnswerShown();
    updateCounters();
    showNextWord();
}

void MyForm::showNextWord() {
    if (wordList->drawNext()) {
        // The mode is read at every draw, so a switch takes effect with the next word.
        wordList->setNormalMode(normalRadio->checked());
        showQuestion(wordList->question());
        clearAnswerAndGuess();
        guessBox->focus();
        return;
    }
    guessButton->setEnabled(false);
    revealButton->setEnabled(false);
    showQuestion("");
    clearAnswerAndGuess();
    // Cut off, not rounded: 2 right of 3 is 66 %.
    const auto accuracy = static_cast<std::uint32_t>(static_cast<double>(wordList->correctCount())
                                                     / static_cast<double>(wordList->answeredCount()) * 100.0);
    messageBox("You have completed the dictionary.\n\nYour accuracy is " + std::to_string(accuracy) + " %\n",
               programName, MessageBoxIcon::Information);
}

void MyForm::onOpen() {
    OpenFileDialog dialog;
    dialog.setTitle("Open Dictionary...");
    dialog.setFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
    dialog.setInitialFolder(lastFolder);
    if (dialog.showModal() != DialogResult::OK) {
        return;
    }
    const std::string fileName = dialog.fileName();
    showNoDictionary();

    wordList = std::make_unique<WordList>();
    try {
        Parser(fileName, *wordList).parse();
    } catch (const AppException& error) {
        // A file that failed to load leaves no dictionary at all, not a part of one.
        wordList.reset();
        error.show();
        return;
    } catch (...) {
        wordList.reset();
        throw;
    }
    startDrill();
    lastFolder = folderOf(fileName);
}

void MyForm::onGuess() {
    if (answerShown) {
        showVerdict(noVerdict);
        revealButton->setEnabled(true);
        clearAnswerShown();
        updateCounters();
        showNextWord();
        return;
    }
    if (wordList->guess(guessBox->text())) {
        showVerdict(rightVerdict);
        wordList->markAnswered();
        updateCounters();
        showNextWord();
        return;
    }
    showVerdict(wrongVerdict);
    if (revealOnWrongBox->checked()) {
        showAnswer();
    } else if (guessBox->textLength() != 0) {
        // The next typing replaces the wrong guess.
        guessBox->selectAll();
    }
    updateCounters();
}

void MyForm::onReveal() {
    showVerdict(revealedVerdict);
    // Unlike a wrong guess that reveals, Reveal leaves the counters as they are until Next.
    showAnswer();
}

// The word is told with the guess box too, where the focus stays while the learner answers.
void MyForm::showQuestion(const std::string& question) {
    questionBox->setText(question);
    guessBox->setAccessibleDescription(question.empty() ? "" : questionLabel->text() + " " + question);
}

void MyForm::showVerdict(const Verdict& verdict) {
    answerBox->setBackgroundColor(verdict.color);
    answerBox->setAccessibleDescription(verdict.word);
}

void MyForm::showAnswer() {
    answerBox->setText(wordList->answer());
    revealButton->setEnabled(false);
    guessButton->setText("&Next");
    guessButton->focus();
    answerShown = true;
    wordList->markAnswered();
}

void MyForm::onRestart() {
    wordList->restart();
    startDrill();
}

void MyForm::onAbout() {
    Info about;
    about.showModal();
}

void MyForm::onExit() {
    Application::postQuit(0);
}

void MyForm::onEnterShortcut(FormShortcutEventArgs& args) {
    if (args.key != Keys::Enter) {
        return;
    }
    if (quizGroup->focusWithin()) {
        (revealButton->focusWithin() ? revealButton : guessButton)->simulateClick();
        return;
    }
    for (Button* button : {openButton, restartButton, aboutButton, exitButton}) {
        if (button->focusWithin()) {
            button->simulateClick();
            return;
        }
    }
    guessButton->simulateClick();
}

void showCount(Label& cell, std::uint32_t count) {
    constexpr int cellWidth = 24;
    const Rect before = cell.bounds();
    const int right = before.x + before.width;
    // The cell fits itself to the new text; it keeps its own width unless the count needs more,
    // and its right edge in any case.
    cell.setText(std::to_string(count));
    const int width = std::max(cellWidth, cell.bounds().width);
    cell.setBounds(right - width, before.y, width, before.height);
}

std::string folderOf(const std::string& fileName) {
    const std::size_t separator = fileName.rfind('/');
    if (separator == std::string::npos) {
        return std::string();
    }
    // A file at the root lies in "/", which the empty text would not name.
    return separator == 0 ? std::string("/") : fileName.substr(0, separator);
}

void installWarningBox() {
    AppException::setWarningBox([](const std::string& text, const std::string& caption) {
        messageBox(text, caption, MessageBoxIcon::Warning);
    });
}

int runProgram(const std::function<std::unique_ptr<Form>()>& makeMainForm) {
    installWarningBox();
    try {
        const std::unique_ptr<Form> mainForm = makeMainForm();
        ApplicationContext context(mainForm.get());
        Application::runLoop(context);
        // The code the Exit button's quit message carries; 0 as well when the window was closed.
        return Application::exitCode();
    } catch (...) {
        messageBox(textForm(std::current_exception()), "Fatal Error", MessageBoxIcon::Error);
        return 1;
    }
}

// The command line is left unread: a dictionary is only ever opened from the Open dialog.
int programMain(const std::vector<std::string>& /*arguments*/) {
    return runProgram([] { return std::make_unique<MyForm>(); });
}
