// The program entry: how it ends, and the "Fatal Error" box for an error it cannot go on after.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <unistd.h>

#include "appfixture.h"
#include "model/wordlist.h"
#include "toolkit/testing/testing.h"

using namespace app_test;

namespace {

std::vector<MessageBoxCall> recordedBoxes;

void recordBoxes() {
    recordedBoxes.clear();
    setMessageBoxHandler([](const MessageBoxCall& call) { recordedBoxes.push_back(call); });
}

// A main window that, once shown, does what the learner would do to end the program.
std::function<std::unique_ptr<Form>()> windowThat(const std::function<void(MyForm&)>& action) {
    return [action] {
        auto form = std::make_unique<MyForm>();
        MyForm* shown = form.get();
        form->load +=
            [shown, action](Form&, EventArgs&) { QTimer::singleShot(0, [shown, action] { action(*shown); }); };
        return form;
    };
}

// Runs the program in a child process and ends that process with its status. Should the program
// not end, the child is killed after a while instead of hanging the test.
[[noreturn]] void exitWithProgram(const std::function<std::unique_ptr<Form>()>& makeMainForm) {
    ::alarm(20);
    std::exit(runProgram(makeMainForm));
}

class EntryDeathTest : public ::testing::Test {
protected:
    EntryDeathTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

}  // namespace

// The quit message stays taken for the whole process, so each run of the loop that ends by it
// runs in a child process of its own.
TEST_F(EntryDeathTest, ExitEndsTheProgramWithStatusZero) {
    EXPECT_EXIT(exitWithProgram(windowThat([](MyForm& form) { form.exitButton->simulateClick(); })),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(EntryDeathTest, EnterOnExitEndsTheProgramWithStatusZero) {
    EXPECT_EXIT(exitWithProgram(windowThat([](MyForm& form) {
                    form.exitButton->focus();
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                })),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(EntryDeathTest, ExitDuringADrillNeedsNoConfirmation) {
    EXPECT_EXIT(
        {
            recordBoxes();
            const std::string path = ::testing::TempDir() + "verbaro-entry-one.txt";
            std::FILE* file = std::fopen(path.c_str(), "w");
            std::fputs("hund = dog\n", file);
            std::fclose(file);
            setOpenFileDialogHandler([path](const OpenFileDialogCall&) { return std::optional<std::string>(path); });
            exitWithProgram(windowThat([path](MyForm& form) {
                form.openButton->simulateClick();
                std::remove(path.c_str());
                if (form.questionBox->text() == "hund" && recordedBoxes.empty()) {
                    form.exitButton->simulateClick();
                }
            }));
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Entry, ClosingTheMainWindowEndsTheProgramWithStatusZero) {
    recordBoxes();
    EXPECT_EQ(runProgram(windowThat([](MyForm& form) { form.close(); })), 0);
    EXPECT_TRUE(recordedBoxes.empty());
    setMessageBoxHandler(nullptr);
}

TEST(Entry, AnErrorWhileTheWindowIsBuiltShowsTheFatalErrorBox) {
    recordBoxes();
    const int status = runProgram([]() -> std::unique_ptr<Form> {
        auto form = std::make_unique<MyForm>();
        form->addKeyShortcut(Keys::Enter, [](Form&, FormShortcutEventArgs&) {});
        return form;
    });
    EXPECT_EQ(status, 1);
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].caption, "Fatal Error");
    EXPECT_EQ(recordedBoxes[0].text, "Shortcut key conflict");
    EXPECT_EQ(recordedBoxes[0].icon, MessageBoxIcon::Error);
    EXPECT_EQ(visibleWindow("Verbaro Tool"), nullptr);
    setMessageBoxHandler(nullptr);
}

TEST(Entry, TheProgramsOwnErrorsAreReportedByTheirClassName) {
    recordBoxes();
    EXPECT_EQ(runProgram([]() -> std::unique_ptr<Form> { throw MalformedEntry(); }), 1);
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].text, "wordlist.MalformedEntry");

    // The entry has installed the warning box for every later AppException.
    AppException().show();
    ASSERT_EQ(recordedBoxes.size(), 2u);
    EXPECT_EQ(recordedBoxes[1].text, "An unidentified error have occured.");
    EXPECT_EQ(recordedBoxes[1].caption, "Verbaro Tool");
    EXPECT_EQ(recordedBoxes[1].icon, MessageBoxIcon::Warning);
    setMessageBoxHandler(nullptr);
    AppException::setWarningBox(nullptr);
}
