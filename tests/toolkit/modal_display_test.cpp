#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <stdexcept>

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "toolkit/messagebox.h"
#include "user_input.h"

using user_input::later;

namespace {

std::string showModalError(Form& form) {
    try {
        form.showModal();
    } catch (const ToolkitException& error) {
        return error.message();
    }
    return "shown";
}

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override {
        startToolkit();
        mainForm.setText("Main");
        mainForm.setClientAreaSize(400, 300);
        dialog.setText("Dialog");
        dialog.setClientAreaSize(200, 100);
        closeButton = new Button;
        closeButton->setBounds(10, 10, 80, 23);
        closeButton->setParent(&dialog);
        closeButton->click += [this](Control&, EventArgs&) { dialog.close(); };
    }
    void TearDown() override {
        Application::idle.remove(idleId);
        Application::unhandledException.remove(reportId);
    }

    // Shows the main form, makes it the active window and runs `code` while it is up.
    void withMainFormActive(const std::function<void()>& code) {
        mainForm.setVisible(true);
        ASSERT_TRUE(user_input::waitUntilActive(widgetOf(mainForm)));
        code();
    }

    Form mainForm;
    Form dialog;
    Button* closeButton = nullptr;
    Event<std::thread::id, EventArgs>::HandlerId idleId = 0;
    Event<std::thread::id, ThreadExceptionEventArgs>::HandlerId reportId = 0;
};

TEST_F(ModalTest, DisabledOrVisibleFormCannotBeShown) {
    dialog.setEnabled(false);
    EXPECT_EQ(showModalError(dialog), "Unable to show dialog");
    dialog.setEnabled(true);
    dialog.setVisible(true);
    EXPECT_EQ(showModalError(dialog), "Unable to show dialog");
    EXPECT_EQ(dialog.owner(), nullptr);
}

TEST_F(ModalTest, OwnerIsDisabledWhileUpAndBackTheMomentTheFormIsHidden) {
    auto* ownerButton = addControl<Button>(&mainForm, "Owner's", {10, 10, 80, 23});
    int ownerClicks = 0;
    ownerButton->click += [&](Control&, EventArgs&) { ++ownerClicks; };
    withMainFormActive([&] {
        bool ownerDisabledWhileUp = false;
        bool ownerButtonLookedEnabled = false;
        Form* ownerWhileUp = nullptr;
        bool ownerBackWhenClosed = false;
        bool modalToTheOwner = false;
        dialog.load += [&](Form&, EventArgs&) { dialog.setDialogResult(DialogResult::OK); };
        dialog.closed += [&](Form&, EventArgs&) { ownerBackWhenClosed = mainForm.enabled(); };
        later([&] {
            // What the window manager is told: keep the form above its owner, and give it the
            // keyboard when the owner is clicked.
            const QWindow* window = widgetOf(dialog)->windowHandle();
            modalToTheOwner = window->transientParent() == widgetOf(mainForm)->windowHandle()
                           && window->modality() == Qt::WindowModal && window->type() == Qt::Dialog
                           && widgetOf(mainForm)->windowHandle()->flags().testFlag(Qt::WindowDoesNotAcceptFocus);
            ownerDisabledWhileUp = !mainForm.enabled();
            user_input::click(*ownerButton);
            ownerButtonLookedEnabled = widgetOf(*ownerButton)->isEnabled();
            ownerWhileUp = dialog.owner();
            user_input::click(*closeButton);
        });

        EXPECT_EQ(dialog.showModal(), DialogResult::OK);

        EXPECT_TRUE(ownerDisabledWhileUp);
        EXPECT_TRUE(modalToTheOwner);
        EXPECT_FALSE(widgetOf(mainForm)->windowHandle()->flags().testFlag(Qt::WindowDoesNotAcceptFocus));
        EXPECT_EQ(ownerClicks, 0) << "the owner takes no input while the form is up";
        EXPECT_TRUE(ownerButtonLookedEnabled) << "yet its controls are not drawn greyed";
        EXPECT_EQ(ownerWhileUp, &mainForm);
        EXPECT_TRUE(ownerBackWhenClosed);
        EXPECT_TRUE(mainForm.enabled());
        EXPECT_EQ(dialog.owner(), nullptr);
        EXPECT_TRUE(dialog.created()) << "hidden, not destroyed";
        EXPECT_FALSE(widgetOf(dialog)->isVisible());
        EXPECT_TRUE(user_input::waitUntilActive(widgetOf(mainForm))) << "the owner is activated again";
        user_input::click(*ownerButton);
        EXPECT_EQ(ownerClicks, 1);
    });
}

// A window system may activate the owner all the same (a compositor that knows no modal windows
// does, on a click or its focus command): the activation goes back to the form.
TEST_F(ModalTest, OwnerActivatedWhileTheFormIsUpHandsTheActivationBack) {
    withMainFormActive([&] {
        bool formUp = false;
        bool formBack = false;
        later([&] {
            formUp = user_input::waitUntilActive(widgetOf(dialog));
            QWindow* owner = widgetOf(mainForm)->windowHandle();
            // Qt itself asks no activation for a window that takes no focus.
            owner->setFlag(Qt::WindowDoesNotAcceptFocus, false);
            owner->requestActivate();
            user_input::waitUntilActive(widgetOf(mainForm));
            formBack = user_input::waitUntilActive(widgetOf(dialog));
            dialog.close();
        });
        dialog.showModal();
        EXPECT_TRUE(formUp);
        EXPECT_TRUE(formBack);
    });
}

// A window system may ask a window that a modal one keeps from input to close (Qt passes a
// compositor's close request on as it comes, whatever keeps the window from input): the window
// refuses, and the modal window, whose nested loop runs on, is dismissed as usual.
TEST_F(ModalTest, WindowKeptFromInputRefusesToClose) {
    const std::pair<const char*, std::function<void()>> modalDisplays[] = {
        {"message box", [] { messageBox("Text", "Caption", MessageBoxIcon::Information); }},
        {"file dialog", [] { OpenFileDialog().showModal(); }},
        {"modal form", [this] { dialog.showModal(); }},
    };
    int closedCount = 0;
    mainForm.closed += [&](Form&, EventArgs&) { ++closedCount; };
    for (const auto& modalDisplay : modalDisplays) {
        const char* name = modalDisplay.first;
        withMainFormActive([&] {
            bool upWhileAsked = false;
            later([&] {
                widgetOf(mainForm)->windowHandle()->close();
                upWhileAsked = mainForm.created() && widgetOf(mainForm)->isVisible();
                if (auto* qtDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    qtDialog->done(QDialog::Rejected);
                } else {
                    dialog.close();
                }
            });
            modalDisplay.second();
            EXPECT_TRUE(upWhileAsked) << name;
            EXPECT_TRUE(mainForm.created() && widgetOf(mainForm)->isVisible()) << name;
        });
    }
    EXPECT_EQ(closedCount, 0);
}

TEST_F(ModalTest, OwnerThatIsNoToolkitFormIsDisabledToo) {
    QWidget plainWindow;
    plainWindow.resize(300, 200);
    plainWindow.show();
    ASSERT_TRUE(user_input::waitUntilActive(&plainWindow));
    bool disabledWhileUp = false;
    later([&] {
        disabledWhileUp = !plainWindow.isEnabled();
        dialog.close();
    });
    dialog.showModal();
    EXPECT_TRUE(disabledWhileUp);
    EXPECT_TRUE(plainWindow.isEnabled());
    EXPECT_EQ(dialog.owner(), nullptr) << "only a toolkit form is an owner form";
}

TEST_F(ModalTest, NestedLoopDispatchesAndReportsLikeTheMainLoop) {
    std::vector<std::string> reported;
    reportId = Application::unhandledException.add(
        [&](std::thread::id&, ThreadExceptionEventArgs& args) { reported.push_back(textForm(args.exception)); });
    auto* failButton = new Button;
    failButton->setBounds(10, 40, 80, 23);
    failButton->setParent(&dialog);
    failButton->click += [](Control&, EventArgs&) { throw Exception("failed inside the dialog"); };
    std::vector<std::string> reportedBeforeIdle;
    idleId = Application::idle.add([&](std::thread::id&, EventArgs&) {
        reportedBeforeIdle = reported;
        user_input::click(*closeButton);
    });
    later([&] { user_input::click(*failButton); });

    dialog.showModal();

    EXPECT_EQ(reported, std::vector<std::string>{"failed inside the dialog"});
    EXPECT_EQ(reportedBeforeIdle, reported) << "idle comes once the waiting click has been handled";
}

TEST_F(ModalTest, ErrorLeavingTheNestedLoopRestoresTheOwnerAndHidesTheForm) {
    withMainFormActive([&] {
        reportId = Application::unhandledException.add(
            [](std::thread::id&, ThreadExceptionEventArgs& args) { std::rethrow_exception(args.exception); });
        idleId = Application::idle.add([](std::thread::id&, EventArgs&) { throw std::runtime_error("idle failed"); });

        EXPECT_THROW(dialog.showModal(), std::runtime_error);

        EXPECT_TRUE(mainForm.enabled());
        EXPECT_EQ(dialog.owner(), nullptr);
        EXPECT_TRUE(dialog.created());
        EXPECT_FALSE(widgetOf(dialog)->isVisible());
    });
}

TEST_F(ModalTest, CenterOnOwnerPlacesTheFormOverTheOwnerInsideTheWorkArea) {
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.setInitialPosition(FormStartPosition::CenterOnOwner);
    mainForm.setInitialPosition(FormStartPosition::CenterOnScreen);
    withMainFormActive([&] {
        QRect ownerFrame;
        QRect dialogFrame;
        later([&] {
            ownerFrame = widgetOf(mainForm)->frameGeometry();
            dialogFrame = widgetOf(dialog)->frameGeometry();
            dialog.close();
        });
        dialog.showModal();
        EXPECT_EQ(dialogFrame.x(), ownerFrame.x() + (ownerFrame.width() - dialogFrame.width()) / 2);
        EXPECT_EQ(dialogFrame.y(), ownerFrame.y() + (ownerFrame.height() - dialogFrame.height()) / 2);
        EXPECT_TRUE(workArea.contains(dialogFrame));
    });
}

TEST_F(ModalTest, CenterOnOwnerKeepsTheFormInsideTheWorkArea) {
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.setInitialPosition(FormStartPosition::CenterOnOwner);
    dialog.setClientAreaSize(600, 500);
    // An owner partly off the screen, and the corner of the work area the form is pushed into.
    const struct {
        QPoint ownerPlace;
        QPoint corner;
    } cases[] = {{{workArea.right() - 300, workArea.bottom() - 250}, workArea.bottomRight()},
                 {{workArea.left() - 300, workArea.top() - 250}, workArea.topLeft()}};
    for (const auto& placed : cases) {
        mainForm.setBounds(placed.ownerPlace.x(), placed.ownerPlace.y(), 400, 300);
        withMainFormActive([&] {
            QRect dialogFrame;
            later([&] {
                dialogFrame = widgetOf(dialog)->frameGeometry();
                dialog.close();
            });
            dialog.showModal();
            EXPECT_TRUE(workArea.contains(dialogFrame)) << placed.corner.x();
            EXPECT_TRUE(dialogFrame.contains(placed.corner)) << placed.corner.x();
            dialog.destroy();  // placed anew only when made anew
        });
    }
}

TEST_F(ModalTest, CenterOnOwnerWithoutOwnerCentresOnTheWorkArea) {
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.setInitialPosition(FormStartPosition::CenterOnOwner);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    QRect dialogFrame;
    later([&] {
        dialogFrame = widgetOf(dialog)->frameGeometry();
        dialog.close();
    });
    dialog.showModal();
    EXPECT_EQ(dialogFrame.x(), workArea.x() + (workArea.width() - dialogFrame.width()) / 2);
    EXPECT_EQ(dialogFrame.y(), workArea.y() + (workArea.height() - dialogFrame.height()) / 2);
}

}  // namespace
