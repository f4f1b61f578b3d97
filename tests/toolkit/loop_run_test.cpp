#include <gtest/gtest.h>

#include <QPointer>
#include <stdexcept>

#include "support/child_process.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "user_input.h"

using user_input::later;

namespace {

class LoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        startToolkit();
        mainForm.setText("Main");
        mainForm.setClientAreaSize(200, 100);
        button = new Button;
        button->setBounds(10, 10, 80, 23);
        button->setParent(&mainForm);
        loopEndedId = Application::loopEnded.add([this](std::thread::id&, EventArgs&) { ++loopEndedCount; });
    }
    void TearDown() override {
        Application::loopEnded.remove(loopEndedId);
        Application::idle.remove(idleId);
        Application::unhandledException.remove(reportId);
    }

    // Errors are collected here instead of the dialog.
    void collectErrors() {
        reportId = Application::unhandledException.add(
            [this](std::thread::id&, ThreadExceptionEventArgs& args) { reported.push_back(textForm(args.exception)); });
    }

    Form mainForm;
    Button* button = nullptr;
    int loopEndedCount = 0;
    std::vector<std::string> reported;
    Event<std::thread::id, EventArgs>::HandlerId loopEndedId = 0;
    Event<std::thread::id, EventArgs>::HandlerId idleId = 0;
    Event<std::thread::id, ThreadExceptionEventArgs>::HandlerId reportId = 0;
};

TEST_F(LoopTest, ClosingTheMainFormEndsTheLoopOnce) {
    ApplicationContext context(&mainForm);
    bool shownBeforeLoop = true;
    bool shownInLoop = false;
    bool runningInLoop = false;
    shownBeforeLoop = mainForm.created() && widgetOf(mainForm)->isVisible();
    button->click += [&](Control&, EventArgs&) { mainForm.close(); };
    later([&] {
        shownInLoop = widgetOf(mainForm)->isVisible();
        runningInLoop = Application::running();
        user_input::click(*button);
    });

    Application::runLoop(context);

    EXPECT_FALSE(shownBeforeLoop);
    EXPECT_TRUE(shownInLoop);
    EXPECT_TRUE(runningInLoop);
    EXPECT_FALSE(mainForm.created()) << "closed with its window destroyed";
    EXPECT_EQ(loopEndedCount, 1);
    EXPECT_FALSE(Application::running());
    EXPECT_FALSE(Application::stopRequested());
    EXPECT_FALSE(Application::quitReceived());
}

TEST_F(LoopTest, IdleIsRaisedOnceWhatWasWaitingHasBeenHandled) {
    ApplicationContext context(&mainForm);
    std::vector<std::string> happened;
    for (const std::string name : {"first", "second", "third"}) {
        later([&happened, name] { happened.push_back(name); });
    }
    idleId = Application::idle.add([&](std::thread::id&, EventArgs&) {
        happened.emplace_back("idle");
        mainForm.close();
    });
    Application::runLoop(context);
    EXPECT_EQ(happened, (std::vector<std::string>{"first", "second", "third", "idle"}));
    EXPECT_EQ(loopEndedCount, 1);
}

TEST_F(LoopTest, ErrorEscapingAPassIsReportedAndTheLoopGoesOn) {
    collectErrors();
    ApplicationContext context(&mainForm);
    int idleCount = 0;
    idleId = Application::idle.add([&](std::thread::id&, EventArgs&) {
        ++idleCount;
        if (idleCount == 1) {
            throw std::runtime_error("idle failed");
        }
        mainForm.close();
    });
    Application::runLoop(context);
    EXPECT_EQ(reported, std::vector<std::string>{"idle failed"});
    EXPECT_EQ(idleCount, 2);
}

TEST_F(LoopTest, ErrorInAClickHandlerIsReportedAndTheLoopGoesOn) {
    collectErrors();
    ApplicationContext context(&mainForm);
    int clicks = 0;
    button->click += [&](Control&, EventArgs&) {
        if (++clicks == 1) {
            throw Exception("first click failed");
        }
        mainForm.close();
    };
    later([&] { user_input::click(*button); });
    later([&] { user_input::click(*button); });
    Application::runLoop(context);
    EXPECT_EQ(reported, std::vector<std::string>{"first click failed"});
    EXPECT_EQ(clicks, 2);
}

TEST_F(LoopTest, WindowGivenUpOutsideAnyHandlerIsDeletedByTheLoop) {
    Form other;
    other.setVisible(true);
    QPointer<QWidget> otherWindow = widgetOf(other);
    other.destroy();
    ApplicationContext context(&mainForm);
    idleId = Application::idle.add([&](std::thread::id&, EventArgs&) { mainForm.close(); });
    Application::runLoop(context);
    EXPECT_TRUE(otherWindow.isNull());
}

// An error the reporting itself lets through leaves the loop; the loop state is put back.
TEST_F(LoopTest, ErrorLeavingTheLoopStillCleansUp) {
    reportId = Application::unhandledException.add(
        [](std::thread::id&, ThreadExceptionEventArgs& args) { std::rethrow_exception(args.exception); });
    ApplicationContext context(&mainForm);
    idleId = Application::idle.add([](std::thread::id&, EventArgs&) { throw std::runtime_error("idle failed"); });
    EXPECT_THROW(Application::runLoop(context), std::runtime_error);
    EXPECT_FALSE(Application::running());
    EXPECT_EQ(loopEndedCount, 0);

    context.endLoop();
    EXPECT_FALSE(Application::stopRequested()) << "the loop no longer listens to its context";
}

// A quit message is taken at most once per thread, so each quit runs in a process of its own.
TEST_F(LoopTest, QuitEndsTheLoopAfterWhatWasWaitingWithoutClosingTheMainForm) {
    if (child_process::passedInChild()) {
        return;
    }
    ApplicationContext context(&mainForm);
    std::vector<std::string> handled;
    button->click += [&](Control&, EventArgs&) {
        later([&] { handled.emplace_back("queued before the quit"); });
        Application::postQuit(3);
        EXPECT_FALSE(Application::quitReceived()) << "queued, not taken at once";
        handled.emplace_back("exit handler");
    };
    later([&] { user_input::click(*button); });

    Application::runLoop(context);

    EXPECT_EQ(handled, (std::vector<std::string>{"exit handler", "queued before the quit"}));
    EXPECT_TRUE(Application::quitReceived());
    EXPECT_EQ(Application::exitCode(), 3) << "the code the quit message carried";
    EXPECT_FALSE(Application::running());
    EXPECT_EQ(loopEndedCount, 1);
    EXPECT_TRUE(mainForm.created() && widgetOf(mainForm)->isVisible()) << "the main form is left as it was";
}

TEST_F(LoopTest, QuitTakenInAModalDisplayEndsItAndThenTheMainLoop) {
    if (child_process::passedInChild()) {
        return;
    }
    ApplicationContext context(&mainForm);
    Form about;
    about.setClientAreaSize(100, 60);
    auto* exitButton = new Button;
    exitButton->setBounds(10, 10, 80, 23);
    exitButton->setParent(&about);
    exitButton->click += [](Control&, EventArgs&) { Application::postQuit(0); };
    bool modalReturned = false;
    button->click += [&](Control&, EventArgs&) {
        later([&] { user_input::click(*exitButton); });
        about.showModal();
        modalReturned = true;
        EXPECT_TRUE(Application::running()) << "the modal display ends first";
    };
    later([&] { user_input::click(*button); });

    Application::runLoop(context);

    EXPECT_TRUE(modalReturned);
    EXPECT_TRUE(Application::quitReceived());
    EXPECT_EQ(loopEndedCount, 1);
    EXPECT_TRUE(about.created()) << "hidden, not destroyed";
    EXPECT_FALSE(widgetOf(about)->isVisible());
    EXPECT_TRUE(mainForm.enabled());
    EXPECT_TRUE(widgetOf(mainForm)->isVisible());
}

// Without a display the program says so in one line and ends with status 1, not with an abort.
TEST(NoDisplayDeathTest, OneLineNamesTheDisplayTriedAndTheStatusIsOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* display;
        const char* line;
    } cases[] = {{":9999", "^verbaro: no display could be opened \\(tried \":9999\"\\)\n$"},
                 {nullptr, "^verbaro: no display could be opened \\(DISPLAY is not set\\)\n$"}};
    for (const auto& tried : cases) {
        EXPECT_EXIT(
            {
                ::setenv("QT_QPA_PLATFORM", "xcb", 1);
                if (tried.display)
                    ::setenv("DISPLAY", tried.display, 1);
                else
                    ::unsetenv("DISPLAY");
                startToolkit();
            },
            ::testing::ExitedWithCode(1), tried.line)
            << (tried.display ? tried.display : "no DISPLAY");
    }
}

}  // namespace
