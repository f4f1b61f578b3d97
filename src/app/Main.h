#pragma once

// The main window, where the learner opens a dictionary and drills it, and the program entry.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/wordlist.h"
#include "toolkit/controls.h"

class MyForm : public Form {
public:
    MyForm();

    Button* openButton = nullptr;
    Button* restartButton = nullptr;
    Label* modeLabel = nullptr;
    RadioButton* normalRadio = nullptr;
    RadioButton* reverseRadio = nullptr;
    Button* aboutButton = nullptr;
    Button* exitButton = nullptr;
    GroupBox* quizGroup = nullptr;
    Label* correctLabel = nullptr;
    Label* correctValue = nullptr;
    Label* incorrectLabel = nullptr;
    Label* incorrectValue = nullptr;
    Label* answeredLabel = nullptr;
    Label* answeredValue = nullptr;
    Label* remainingLabel = nullptr;
    Label* remainingValue = nullptr;
    Label* questionLabel = nullptr;
    TextBox* questionBox = nullptr;
    TextBox* answerBox = nullptr;
    Label* guessLabel = nullptr;
    TextBox* guessBox = nullptr;
    Button* revealButton = nullptr;
    Button* guessButton = nullptr;
    CheckBox* revealOnWrongBox = nullptr;

    // The colours behind answerBox: no verdict yet, a right guess, a wrong guess, a Reveal.
    static constexpr Color neutralColor = Color::system(Color::ButtonFace);
    static constexpr Color correctColor = Color::fromRgb(0, 255, 0);
    static constexpr Color wrongColor = Color::fromRgb(255, 0, 0);
    static constexpr Color revealedColor = Color::fromRgb(255, 255, 0);

private:
    // What the answer box shows of the last guess: its colour, and the word that tells it to
    // those who do not see the colour.
    struct Verdict {
        Color color;
        const char* word;
    };
    static constexpr Verdict noVerdict{neutralColor, ""};
    static constexpr Verdict rightVerdict{correctColor, "Right"};
    static constexpr Verdict wrongVerdict{wrongColor, "Wrong"};
    static constexpr Verdict revealedVerdict{revealedColor, "Revealed"};

    void buildLayout();

    void startDrill();
    void showNextWord();
    void updateCounters();

    void onOpen();
    void onGuess();
    void onReveal();
    void onRestart();
    void onAbout();
    void onExit();
    void onEnterShortcut(FormShortcutEventArgs& args);

    // Drops the dictionary and shows the window as without one.
    void showNoDictionary();
    // Enables or disables Restart, Reveal and Guess, which act on a dictionary.
    void enableDrillButtons(bool enabled);
    // answerShown becomes false, and guessButton reads "&Guess" again.
    void clearAnswerShown();
    // Empties the answer box and the guess box for the next word, or for none.
    void clearAnswerAndGuess();
    // Shows the expected answer, with Next to go on, and counts the entry as answered.
    void showAnswer();
    // Shows the word to translate, or none.
    void showQuestion(const std::string& question);
    // Shows the verdict on the last guess in the answer box.
    void showVerdict(const Verdict& verdict);

    // None while no dictionary is loaded.
    std::unique_ptr<WordList> wordList;
    // True while the expected answer is on show and guessButton reads "&Next".
    bool answerShown = false;
    // The folder the next Open dialog starts in.
    std::string lastFolder;
};

// Shows a count in its cell, right-aligned: the cell keeps its right edge, and a count wider than
// the cell widens it to the left, so that the number reads whole (the cells are 24 pixels wide).
void showCount(Label& cell, std::uint32_t count);

// The folder of a file name: the text before its last "/" ("/" itself for a file at the root), or
// the empty text when it has none.
std::string folderOf(const std::string& fileName);

// Shows the program's own errors (AppException::show) in a warning box.
void installWarningBox();

// The program: builds the main window, runs the message loop with it, and returns the exit
// status. It takes the command line but leaves it unread: the program always starts without a
// dictionary, and a file named there is not opened; the learner picks one with Open.
int programMain(const std::vector<std::string>& /*arguments*/);

// What programMain does, with the main window made by makeMainForm: 0 after a normal end, 1 after
// an error escaped the window's construction or the loop, shown in the "Fatal Error" box.
int runProgram(const std::function<std::unique_ptr<Form>()>& makeMainForm);
