// Renders the main window in each state of the drill, and the About window, into the folder given
// as the first argument. The message boxes and the Open dialog are answered here, so nothing waits
// for a person; the dictionary is written to a temporary folder.
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/Main.h"
#include "app/info.h"
#include "screenshot.h"
#include "toolkit/testing/testing.h"

namespace {

// Restart draws anew until the word wanted is asked, so that the pictures are the same each run.
void restartUntilAsked(MyForm& form, const std::string& word) {
    do {
        form.restartButton->simulateClick();
    } while (form.questionBox->text() != word);
}

// What the learner has typed so far, with the caret after it.
void typeGuess(MyForm& form, const std::string& text) {
    form.guessBox->setText(text);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(widgetOf(*form.guessBox), &end);
}

void guess(MyForm& form, const std::string& text) {
    form.guessBox->setText(text);
    form.guessButton->simulateClick();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::filesystem::path dictionary =
        std::filesystem::temp_directory_path() / ("verbaro-screenshot-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(dictionary) << "@title German - English: first words\n"
                                 "der Hund = the dog\n"
                                 "die Straße = the street, the road\n";

    setMessageBoxHandler([](const MessageBoxCall&) {});
    setOpenFileDialogHandler(
        [&](const OpenFileDialogCall&) { return std::optional<std::string>(dictionary.string()); });

    MyForm form;
    form.setVisible(true);
    bool saved = saveScreenshot(form, out / "main-no-dictionary.png");

    form.openButton->simulateClick();
    restartUntilAsked(form, "der Hund");
    guess(form, "The Dog");
    typeGuess(form, "the stree");
    saved = saveScreenshot(form, out / "main-asking.png") && saved;

    form.guessButton->simulateClick();
    saved = saveScreenshot(form, out / "main-wrong-guess.png") && saved;

    restartUntilAsked(form, "der Hund");
    form.revealButton->simulateClick();
    saved = saveScreenshot(form, out / "main-revealed.png") && saved;

    form.guessButton->simulateClick();
    guess(form, "the road");
    saved = saveScreenshot(form, out / "main-finished.png") && saved;

    Info about;
    about.setVisible(true);
    saved = saveScreenshot(about, out / "about.png") && saved;

    std::filesystem::remove(dictionary);
    return saved ? 0 : 1;
}
