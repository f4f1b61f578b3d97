// Opening dictionaries: the dialog, the folder it starts in, and what a failed load leaves.
#include "appfixture.h"

#include "program/exception.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"

using namespace app_test;

namespace {

using Open = AppTest;

const std::string fileErrorText = "Verbaro Tool was unable to open the specified file or any of its imports.";
const std::string malformedText =
    "Unable to read a dictionary entry from file. The file might be corrupt or not a verbaro file.";

// Everything a window without a dictionary shows.
void expectNoDictionary(const MyForm& form) {
    EXPECT_EQ(form.quizGroup->text(), "");
    EXPECT_FALSE(form.restartButton->enabled());
    EXPECT_FALSE(form.revealButton->enabled());
    EXPECT_FALSE(form.guessButton->enabled());
    EXPECT_EQ(form.guessButton->text(), "&Guess");
    EXPECT_EQ(form.questionBox->text(), "");
    EXPECT_EQ(form.answerBox->text(), "");
    EXPECT_EQ(form.guessBox->text(), "");
    EXPECT_EQ(form.answerBox->backgroundColor(), MyForm::neutralColor);
    for (const Label* value : {form.correctValue, form.incorrectValue, form.answeredValue, form.remainingValue}) {
        EXPECT_EQ(value->text(), "0");
    }
    EXPECT_TRUE(form.openButton->enabled());
    EXPECT_TRUE(form.aboutButton->enabled());
    EXPECT_TRUE(form.exitButton->enabled());
}

}  // namespace

TEST_F(Open, TheDialogAsksForTextFilesAndStartsBesideTheProgram) {
    cancelOpen();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Open Dictionary...");
    EXPECT_EQ(dialogs[0].filter, "Text files (*.txt)|*.txt|All files (*.*)|*.*");
    EXPECT_EQ(dialogs[0].initialFolder, folderOf(programPath()));
    EXPECT_FALSE(dialogs[0].initialFolder.empty());
    expectNoDictionary(*form);
}

TEST_F(Open, TheNextDialogStartsInTheFolderOfTheLastFileRead) {
    const std::string first = write("pets/one.txt", "hund = dog\n");
    open(first);
    cancelOpen();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].initialFolder, (folder / "pets").string());
    EXPECT_TRUE(form->restartButton->enabled());

    // A file without entries is refused, but it was read: the folder follows it.
    open(write("empty/comments.txt", "; only a comment\n@title Nothing\n@ver 1.0\n\n"));
    cancelOpen();
    EXPECT_EQ(dialogs[3].initialFolder, (folder / "empty").string());

    // A file that fails to load leaves the folder where the failed dialog started.
    open(write("broken/bad.txt", "hund\n"));
    cancelOpen();
    EXPECT_EQ(dialogs[5].initialFolder, (folder / "empty").string());
}

TEST_F(Open, AMissingImportShowsTheWarningAndLeavesNoDictionary) {
    open(write("one.txt", "hund = dog\n"));
    open(write("importing.txt", "katt = cat\n@import missing.txt\n"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, fileErrorText);
    EXPECT_EQ(boxes[0].caption, "Verbaro Tool");
    EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Warning);
    expectNoDictionary(*form);
}

TEST_F(Open, AMalformedSecondDictionaryLeavesNoneNotTheFirst) {
    open(write("good.txt", "@title Good\nhund = dog\nkatt = cat\n"));
    guess("wrong");
    // Entries above the bad line were read before it failed; none of them may stay behind.
    open(write("bad.txt", "@title Bad\nhund = dog\nkatt\n"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, malformedText);
    EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Warning);
    expectNoDictionary(*form);

    // Enter has nothing to act on now.
    type("dog");
    pressEnterOn(*form->guessBox);
    type("");
    expectNoDictionary(*form);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(Open, ANewerFormatIsRefusedWithItsMessage) {
    open(write("newer.txt", "@ver 2.0\nhund = dog\n"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The file is of another version than Verbaro Tool can handle.\n"
                             "Please update to a newer version of Verbaro Tool.");
    expectNoDictionary(*form);
}

TEST_F(Open, AFileWithoutEntriesIsRefusedWithANotice) {
    open(write("one.txt", "hund = dog\n"));
    open(write("empty.txt", "; comments\n\n@title Empty\n@ver 1.0\n   ; indented comment\n"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unable to initialize the current dictionary.");
    EXPECT_EQ(boxes[0].caption, "Verbaro Tool");
    EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Information);
    expectNoDictionary(*form);
}

TEST_F(Open, AnEncodingErrorLeavesTheHandlerWithTheWindowAsAfterAFailedLoad) {
    open(write("good.txt", "hund = dog\n"));
    // UTF-16 little-endian: the parser refuses it with the general error, which no window
    // handler catches; it goes on to the toolkit's report, here in place of the error dialog.
    std::vector<std::string> reported;
    const auto reporter = Application::unhandledException.add(
        [&](std::thread::id&, ThreadExceptionEventArgs& args) { reported.push_back(textForm(args.exception)); });
    open(write("utf16.txt", std::string("\xFF\xFEh\0u\0n\0d\0=\0d\0o\0g\0", 18)));
    Application::unhandledException.remove(reporter);
    EXPECT_EQ(reported,
              std::vector<std::string>{"Unsupported character encoding in read file.\nExpected UTF8 or ANSI file."});
    EXPECT_TRUE(boxes.empty());
    expectNoDictionary(*form);
}

TEST_F(Open, ImportsAreDrilledWithTheChosenFile) {
    write("dicts/more.txt", "@title Ignored\nkatt = cat\n");
    open(write("dicts/main.txt", "@title Main\n@import more.txt\nhund = dog\n"));
    EXPECT_EQ(form->quizGroup->text(), "Main");
    EXPECT_EQ(counters(), (std::vector<std::string>{"0", "0", "0", "2"}));
}

TEST_F(Open, ImportsThatMultiplyWithoutEndAreRefusedNamingTheImport) {
    open(write("one.txt", "hund = dog\n"));
    // Each layer's two files import both files of the next: the reads double with every layer.
    for (int layer = 0; layer < 14; ++layer) {
        const std::string next = "L" + std::to_string(layer + 1);
        for (const char* side : {"a", "b"}) {
            write("L" + std::to_string(layer) + side + ".txt",
                  "w=1\n@import " + next + "a.txt\n@import " + next + "b.txt\n");
        }
    }
    open(write("main.txt", "m=1\n@import L0a.txt\n@import L0b.txt\n"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Verbaro Tool stopped reading the dictionary at the import of \"L12b.txt\" on line 3 of "
                             "\"L11a.txt\".\nIts files import one another so many times over that more than 10000 "
                             "files would have to be read.");
    EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Warning);
    expectNoDictionary(*form);
}

TEST(FolderOf, IsTheTextBeforeTheLastSlash) {
    EXPECT_EQ(folderOf("/home/learner/words/german.txt"), "/home/learner/words");
    EXPECT_EQ(folderOf("/german.txt"), "/");
    EXPECT_EQ(folderOf("german.txt"), "");
    EXPECT_EQ(folderOf("words/"), "words");
    EXPECT_EQ(folderOf("C:\\words\\german.txt"), "");
}
