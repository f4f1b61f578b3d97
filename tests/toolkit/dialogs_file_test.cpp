#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "support/child_process.h"
#include "toolkit/dialogs.h"
#include "toolkit/testing/testing.h"
#include "toolkit/toolkitexception.h"

namespace {

const std::string mainWindowFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";

std::string filterError(OpenFileDialog& dialog, const std::string& filter) {
    try {
        dialog.setFilter(filter);
    } catch (const ToolkitException& error) {
        return error.message();
    }
    return "accepted";
}

TEST(FileDialogFilter, PairsOfDescriptionAndPatternsAreAccepted) {
    OpenFileDialog dialog;
    for (const std::string filter :
         {"Text files (*.txt)|*.txt", "Text files|*.txt|All files|*.*", "Word lists|*.txt;*.dic;*.lst"}) {
        EXPECT_EQ(filterError(dialog, filter), "accepted") << filter;
        EXPECT_EQ(dialog.filter(), filter);
    }
}

TEST(FileDialogFilter, MalformedFiltersFailAndKeepTheFormerOne) {
    OpenFileDialog dialog;
    dialog.setFilter(mainWindowFilter);
    const std::string malformed[] = {
        "Text files",                           // a description without patterns
        "Text files|*.txt|",                    // ends with the separator
        "|Text files|*.txt",                    // starts with it
        "Text files||*.txt",                    // two in a row
        "Text files|*.txt|All files",           // pairs incomplete
        "Text files|*.txt|All|*.*|",            // trailing separator after complete pairs
        "Text\nfiles|*.txt",                    // line feed
        "Text files|*.txt\r",                   // carriage return
        std::string("Text files|*.t\0xt", 17),  // NUL inside
        "|",
    };
    for (const std::string& filter : malformed) {
        EXPECT_EQ(filterError(dialog, filter), "Invalid file filter string") << filter;
        EXPECT_EQ(dialog.filter(), mainWindowFilter);
    }
}

TEST(FileDialogFilter, EmptyTextClearsTheFilter) {
    OpenFileDialog dialog;
    dialog.setFilter(mainWindowFilter);
    dialog.setFilter("");
    EXPECT_EQ(dialog.filter(), "");
}

class OpenFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        startToolkit();
        ASSERT_TRUE(folder.isValid());
        existingFile = folder.filePath("words.txt").toStdString();
        QFile file(QString::fromStdString(existingFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("a=b\n");
    }
    void TearDown() override { setOpenFileDialogHandler(nullptr); }

    // Answers the dialog with `answer` and records how it was called.
    void answerWith(const std::optional<std::string>& answer) {
        setOpenFileDialogHandler([this, answer](const OpenFileDialogCall& call) {
            calls.push_back(call);
            return answer;
        });
    }

    QTemporaryDir folder;
    std::string existingFile;
    std::vector<OpenFileDialogCall> calls;
};

TEST_F(OpenFileDialogTest, ChosenExistingFileGivesOkAndItsFullPath) {
    answerWith(existingFile);
    OpenFileDialog dialog;
    dialog.setTitle("Open dictionary");
    dialog.setFilter(mainWindowFilter);
    dialog.setInitialFolder(folder.path().toStdString());

    EXPECT_EQ(dialog.showModal(), DialogResult::OK);
    EXPECT_EQ(dialog.fileName(), existingFile);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].title, "Open dictionary");
    EXPECT_EQ(calls[0].filter, mainWindowFilter);
    EXPECT_EQ(calls[0].initialFolder, folder.path().toStdString());
}

TEST_F(OpenFileDialogTest, RelativeChoiceIsMadeFull) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    answerWith("words.txt");
    OpenFileDialog dialog;
    const DialogResult result = dialog.showModal();
    QDir::setCurrent(previous);
    EXPECT_EQ(result, DialogResult::OK);
    EXPECT_EQ(dialog.fileName(), existingFile);
}

TEST_F(OpenFileDialogTest, CancelOrAnythingButAnExistingFileGivesCancel) {
    OpenFileDialog dialog;
    answerWith(existingFile);
    ASSERT_EQ(dialog.showModal(), DialogResult::OK);

    const std::optional<std::string> notChoosable[] = {std::nullopt, folder.filePath("missing.txt").toStdString(),
                                                       folder.path().toStdString(), "", "/dev/null"};
    for (const auto& answer : notChoosable) {
        answerWith(answer);
        EXPECT_EQ(dialog.showModal(), DialogResult::Cancel) << answer.value_or("(cancelled)");
        EXPECT_EQ(dialog.fileName(), existingFile) << "a cancelled dialog keeps the former choice";
    }
}

// The real dialog, answered from inside its own loop.
template <class Answer>
void whenFileDialogShows(Answer answer) {
    QTimer::singleShot(0, [answer] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QFileDialog*>(window); dialog && dialog->isVisible()) {
                answer(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "no file dialog is up";
    });
}

TEST_F(OpenFileDialogTest, RealDialogShowsTitleFolderAndFileTypesAndReturnsTheChoice) {
    QStringList shownFilters;
    QString shownTitle;
    QString shownFolder;
    QFileDialog::FileMode shownMode = QFileDialog::AnyFile;
    whenFileDialogShows([&](QFileDialog& shown) {
        shownFilters = shown.nameFilters();
        shownTitle = shown.windowTitle();
        shownFolder = shown.directory().absolutePath();
        shownMode = shown.fileMode();
        shown.selectFile(QString::fromStdString(existingFile));
        static_cast<QDialog&>(shown).accept();
    });
    OpenFileDialog dialog;
    dialog.setTitle("Open dictionary");
    dialog.setFilter(
        "Text files (*.txt)|*.txt|Word lists|*.txt;*.dic|Images (*.bmp;*.png)|*.bmp;*.png|All files (*.*)|*.*");
    dialog.setInitialFolder(folder.path().toStdString());

    EXPECT_EQ(dialog.showModal(), DialogResult::OK);
    EXPECT_EQ(dialog.fileName(), existingFile);
    EXPECT_EQ(shownTitle, "Open dictionary");
    EXPECT_EQ(shownFolder, QDir(folder.path()).absolutePath());
    EXPECT_EQ(shownMode, QFileDialog::ExistingFile);
    EXPECT_EQ(shownFilters,
              QStringList({"Text files (*.txt)", "Word lists (*.txt *.dic)", "Images (*.bmp *.png)", "All files (*)"}));
}

TEST_F(OpenFileDialogTest, RealDialogCancelledGivesCancel) {
    whenFileDialogShows([](QFileDialog& shown) { shown.reject(); });
    OpenFileDialog dialog;
    EXPECT_EQ(dialog.showModal(), DialogResult::Cancel);
    EXPECT_EQ(dialog.fileName(), "");
}

// The program writes no files: the real dialog, run in a process whose user folder is fresh,
// leaves that folder empty (Qt's file dialog keeps its history and layout in the user's settings).
TEST_F(OpenFileDialogTest, RealDialogWritesNothingIntoTheUsersFolder) {
    if (!child_process::inChild()) {
        const QTemporaryDir home;
        const QByteArray userHome = qgetenv("HOME");
        const QByteArray userConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        const child_process::Outcome outcome = child_process::runCurrentTest();
        qputenv("HOME", userHome);
        if (!userConfig.isNull()) {
            qputenv("XDG_CONFIG_HOME", userConfig);
        }
        EXPECT_TRUE(outcome.exited);
        EXPECT_EQ(outcome.exitStatus, 0);
        EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        return;
    }
    whenFileDialogShows([&](QFileDialog& shown) {
        shown.selectFile(QString::fromStdString(existingFile));
        static_cast<QDialog&>(shown).accept();
    });
    OpenFileDialog dialog;
    dialog.setInitialFolder(folder.path().toStdString());
    EXPECT_EQ(dialog.showModal(), DialogResult::OK);
}

}  // namespace
