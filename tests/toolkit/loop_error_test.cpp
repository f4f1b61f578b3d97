#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <csignal>
#include <cstdio>

#include "support/child_process.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "user_input.h"

using user_input::later;

namespace {

const std::string sentence =
    "An application exception has occured. Click Continue to allow the application to ignore this error and attempt to "
    "continue.";

class SampleError : public std::exception, public NamedError {
public:
    std::string toString() const override { return "sample.SampleError"; }
};

struct DialogParts {
    Label* sentence;
    TextBox* errorBox;
    Button* continueButton;
    Button* quitButton;
};

DialogParts partsOf(Form& dialog) {
    const auto& children = dialog.children();
    if (children.size() != 4) {
        return {};
    }
    return {dynamic_cast<Label*>(children[0].get()), dynamic_cast<TextBox*>(children[1].get()),
            dynamic_cast<Button*>(children[2].get()), dynamic_cast<Button*>(children[3].get())};
}

class ErrorDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        startToolkit();
        mainForm.setClientAreaSize(300, 200);
        failButton = addButton(10);
        countButton = addButton(40);
        countButton->click += [this](Control&, EventArgs&) { ++counted; };
    }

    Button* addButton(int y) {
        auto* button = new Button;
        button->setBounds(10, y, 80, 23);
        button->setParent(&mainForm);
        return button;
    }

    // Runs the main loop with one click on the fail button, whose handler gets halfway and
    // then throws `error`. `whileUp` runs inside the dialog's wait and makes the choice;
    // `afterwards` runs in the main loop once the dialog has gone, and then the loop is ended.
    template <class Error>
    void runFailingClick(
        Error error, const std::function<void(Form&)>& whileUp, const std::function<void()>& afterwards = [] {}) {
        failButton->click += [this, error, whileUp, afterwards](Control&, EventArgs&) {
            later([this, whileUp, afterwards] {
                if (Form* dialog = shownErrorDialog()) {
                    EXPECT_TRUE(user_input::waitUntilActive(widgetOf(*dialog)));
                    whileUp(*dialog);
                    // A test that made no choice must not leave the dialog waiting forever.
                    if (dialog->created()) {
                        partsOf(*dialog).continueButton->simulateClick();
                    }
                } else {
                    ADD_FAILURE() << "no error dialog is up";
                }
                later([this, afterwards] {
                    afterwards();
                    mainForm.close();
                });
            });
            handlerSteps = 1;
            throw error;
        };
        ApplicationContext context(&mainForm);
        later([this] { user_input::click(*failButton); });
        Application::runLoop(context);
    }

    Form mainForm;
    Button* failButton = nullptr;
    Button* countButton = nullptr;
    int counted = 0;
    int handlerSteps = 0;
};

TEST_F(ErrorDialogTest, ShowsTheErrorTextInTheFixedLayout) {
    runFailingClick(Exception("Something broke"), [](Form& dialog) {
        QWidget* window = widgetOf(dialog);
        EXPECT_EQ(dialog.text(), "Something broke");
        EXPECT_EQ(window->windowTitle(), "Error");
        EXPECT_EQ(dialog.clientAreaSize(), (Size{340, 150}));
        EXPECT_EQ(dialog.borderStyle(), FormBorderStyle::RaisedDialogFrame);
        EXPECT_FALSE(dialog.hasMinimizeButton());
        EXPECT_FALSE(dialog.hasMaximizeButton());
        EXPECT_FALSE(dialog.hasSystemMenu());

        const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = window->frameGeometry();
        EXPECT_EQ(frame.x(), workArea.x() + (workArea.width() - frame.width()) / 2);
        EXPECT_EQ(frame.y(), workArea.y() + (workArea.height() - frame.height()) / 2);

        const DialogParts parts = partsOf(dialog);
        ASSERT_TRUE(parts.sentence && parts.errorBox && parts.continueButton && parts.quitButton);
        EXPECT_EQ(parts.sentence->text(), sentence);
        EXPECT_EQ(parts.sentence->bounds(), (Rect{10, 10, 320, 40}));
        EXPECT_EQ(parts.errorBox->text(), "Something broke");
        EXPECT_EQ(parts.errorBox->bounds(), (Rect{10, 50, 320, 50}));
        EXPECT_TRUE(parts.errorBox->readOnly());
        EXPECT_TRUE(parts.errorBox->multiline());
        EXPECT_EQ(parts.errorBox->backgroundColor(), dialog.backgroundColor());
        EXPECT_EQ(parts.continueButton->text(), "&Continue");
        EXPECT_EQ(parts.continueButton->bounds(), (Rect{120, 117, 100, 23}));
        EXPECT_EQ(parts.quitButton->text(), "&Quit");
        EXPECT_EQ(parts.quitButton->bounds(), (Rect{230, 117, 100, 23}));
        EXPECT_EQ(dialog.enterButton(), static_cast<IButtonControl*>(parts.continueButton));
        EXPECT_TRUE(parts.continueButton->focusWithin());

        user_input::click(*parts.continueButton);
    });
}

TEST_F(ErrorDialogTest, ContinueLeavesTheHandlersWorkAsItWasAndTheProgramUsable) {
    bool blockedWhileUp = false;
    bool keptAboveTheActiveWindow = false;
    bool dialogGone = false;
    runFailingClick(
        Exception("Something broke"),
        [&](Form& dialog) {
            // No window is disabled, yet the window manager keeps the dialog above the window that
            // was active and gives it the keyboard when another window is clicked.
            const QWindow* window = widgetOf(dialog)->windowHandle();
            const QWindow* mainWindow = widgetOf(mainForm)->windowHandle();
            keptAboveTheActiveWindow = window->transientParent() == mainWindow
                                    && window->modality() == Qt::ApplicationModal && mainForm.enabled()
                                    && mainWindow->flags().testFlag(Qt::WindowDoesNotAcceptFocus);
            user_input::click(*countButton);
            widgetOf(mainForm)->close();  // the caption's close button
            blockedWhileUp = counted == 0 && widgetOf(mainForm)->isVisible();
            user_input::click(*partsOf(dialog).continueButton);
        },
        [&] {
            dialogGone = shownErrorDialog() == nullptr;
            user_input::click(*countButton);
        });
    EXPECT_TRUE(blockedWhileUp)
        << "clicks and the close button of the main window have no effect while the dialog is up";
    EXPECT_TRUE(keptAboveTheActiveWindow);
    EXPECT_TRUE(dialogGone);
    EXPECT_EQ(handlerSteps, 1);
    EXPECT_EQ(counted, 1) << "the main window takes clicks again";
}

TEST_F(ErrorDialogTest, CannotBeDismissedWithoutAChoice) {
    bool stillUp = false;
    runFailingClick(Exception("Something broke"), [&](Form& dialog) {
        QWidget* window = widgetOf(dialog);
        dialog.close();  // Alt+F4 and the system menu end here
        QCloseEvent closeEvent;
        QApplication::sendEvent(window, &closeEvent);
        user_input::pressKey(window, Qt::Key_Escape);
        user_input::pressKey(window, Qt::Key_F4, Qt::AltModifier);
        stillUp = dialog.created() && window->isVisible();
        user_input::click(*partsOf(dialog).continueButton);
    });
    EXPECT_TRUE(stillUp);
}

TEST_F(ErrorDialogTest, TabGoesThroughTheBoxAndTheButtonsAndEnterContinues) {
    std::vector<std::string> focusOrder;
    bool dialogGone = false;
    runFailingClick(
        Exception("Something broke"),
        [&](Form& dialog) {
            const DialogParts parts = partsOf(dialog);
            const std::pair<Control*, std::string> named[] = {
                {parts.errorBox, "box"}, {parts.continueButton, "continue"}, {parts.quitButton, "quit"}};
            parts.errorBox->focus();
            for (int step = 0; step < 4; ++step) {
                for (const auto& [control, name] : named) {
                    if (control->focusWithin()) {
                        focusOrder.push_back(name);
                    }
                }
                user_input::pressKey(widgetOf(dialog), Qt::Key_Tab);
            }
            parts.continueButton->focus();
            user_input::pressKey(widgetOf(dialog), Qt::Key_Return);
        },
        [&] { dialogGone = shownErrorDialog() == nullptr; });
    EXPECT_EQ(focusOrder, (std::vector<std::string>{"box", "continue", "quit", "box"}));
    EXPECT_TRUE(dialogGone) << "Enter chose Continue";
}

// Quit and a second error end the process, so they run in a child process of their own.
TEST_F(ErrorDialogTest, QuitWritesTheErrorAndExitsWithStatusOne) {
    if (!child_process::inChild()) {
        const auto outcome = child_process::runCurrentTest();
        EXPECT_TRUE(outcome.exited);
        EXPECT_EQ(outcome.exitStatus, 1);
        EXPECT_EQ(outcome.output, "Error: sample.SampleError\n");
        return;
    }
    child_process::captureOutput();
    mainForm.closed += [](Form&, EventArgs&) { std::puts("main form closed"); };
    runFailingClick(
        SampleError(), [](Form& dialog) { user_input::click(*partsOf(dialog).quitButton); },
        [] { std::puts("the program went on"); });
}

TEST_F(ErrorDialogTest, SecondErrorWhileReportingWritesItAndAborts) {
    if (!child_process::inChild()) {
        const auto outcome = child_process::runCurrentTest();
        EXPECT_FALSE(outcome.exited);
        EXPECT_EQ(outcome.signal, SIGABRT);
        EXPECT_EQ(outcome.output, "Error: second failure\n");
        return;
    }
    child_process::captureOutput();
    runFailingClick(Exception("first failure"), [](Form&) {
        // A handler that runs while the dialog is up fails as well, and its error is reported.
        Application::reportUnhandled(std::make_exception_ptr(Exception("second failure")));
    });
}

TEST(UnhandledExceptionEvent, HandlersReplaceTheDialog) {
    startToolkit();
    std::vector<std::string> reported;
    bool dialogShown = false;
    const auto id = Application::unhandledException.add([&](std::thread::id& thread, ThreadExceptionEventArgs& args) {
        EXPECT_EQ(thread, std::this_thread::get_id());
        dialogShown = dialogShown || shownErrorDialog() != nullptr;
        reported.push_back(textForm(args.exception));
    });
    Application::reportUnhandled(std::make_exception_ptr(Exception("one")));
    Application::reportUnhandled(std::make_exception_ptr(SampleError()));
    Application::reportUnhandled(std::make_exception_ptr(42));
    Application::unhandledException.remove(id);
    EXPECT_EQ(reported, (std::vector<std::string>{"one", "sample.SampleError", "Unknown error"}));
    EXPECT_FALSE(dialogShown);
}

// A handler of the event that fails itself must not leave the reporting stuck: the next error
// would otherwise end the process as a second one.
TEST(UnhandledExceptionEvent, FailingHandlerDoesNotLeaveTheReportingStuck) {
    startToolkit();
    int calls = 0;
    const auto id = Application::unhandledException.add([&](std::thread::id&, ThreadExceptionEventArgs& args) {
        if (++calls == 1) {
            std::rethrow_exception(args.exception);
        }
    });
    EXPECT_THROW(Application::reportUnhandled(std::make_exception_ptr(Exception("one"))), Exception);
    Application::reportUnhandled(std::make_exception_ptr(Exception("two")));
    Application::unhandledException.remove(id);
    EXPECT_EQ(calls, 2);
}

}  // namespace
