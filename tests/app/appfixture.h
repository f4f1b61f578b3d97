#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Main.h"
#include "control_p.h"
#include "toolkit/testing/testing.h"

class QTimer;
class QWidget;

namespace app_test {

// The main window, shown headless, with the message boxes and the Open dialog answered by the
// test, and a folder of its own for the dictionaries each test writes.
class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;

    // Writes a file into the test's folder and returns its full path.
    std::string write(const std::string& name, std::string_view bytes) const;

    // The next Open dialog is answered with this path.
    void chooseNext(const std::string& path);
    // Clicks Open and answers the dialog with the path, or cancels it.
    void open(const std::string& path);
    void cancelOpen();
    // Types the text into guessBox in place of what it held, as the learner does: all of it
    // selected and typed over.
    void type(const std::string& text);
    // Types the text and clicks Guess.
    void guess(const std::string& text);
    // Gives the control the focus and presses Enter on the focused widget, as the keyboard does.
    void pressEnterOn(Control& control);
    // Clicks the control with the mouse, near its top left corner, where a check box or radio
    // button has its box.
    void click(Control& control);

    // Correct, incorrect, answered, remaining, as the window shows them.
    std::vector<std::string> counters() const;
    std::string question() const;
    // The answer in `answers` for the question on show.
    std::string answerFor(const std::map<std::string, std::string>& answers) const;

    std::filesystem::path folder;
    std::vector<MessageBoxCall> boxes;
    std::vector<OpenFileDialogCall> dialogs;
    std::unique_ptr<MyForm> form;

private:
    std::optional<std::string> dialogChoice_;
};

// The visible top-level window with this caption, or none.
QWidget* visibleWindow(const std::string& caption);

// While it lives, runs `action` on the About window as soon as one is up: the window is shown
// modally, so the test only gets control back once it has closed.
class WhenAboutShown {
public:
    explicit WhenAboutShown(const std::function<void(QWidget& window)>& action);
    ~WhenAboutShown();
    WhenAboutShown(const WhenAboutShown&) = delete;
    WhenAboutShown& operator=(const WhenAboutShown&) = delete;

private:
    std::unique_ptr<QTimer> poll_;
};

// Presses Enter on the widget that has the keyboard focus.
void pressEnterOnFocus();

}  // namespace app_test
