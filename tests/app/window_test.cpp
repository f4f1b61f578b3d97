// The main window as the learner first sees it, and the About window.
#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "app/info.h"
#include "appfixture.h"

using namespace app_test;

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}

namespace {

using MainWindow = AppTest;

struct Placed {
    std::string text;
    Rect bounds;
};

std::vector<Placed> placementOf(const Control& container) {
    std::vector<Placed> placed;
    for (const auto& child : container.children()) {
        placed.push_back({child->text(), child->bounds()});
    }
    return placed;
}

void expectPlacement(const Control& container, const std::vector<Placed>& expected) {
    const std::vector<Placed> actual = placementOf(container);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].text, expected[i].text) << "child " << i;
        EXPECT_EQ(actual[i].bounds, expected[i].bounds) << "child " << i << " \"" << expected[i].text << "\"";
    }
}

}  // namespace

TEST_F(MainWindow, ShowsEveryControlInTabOrderAtItsPlace) {
    EXPECT_EQ(form->text(), "Verbaro Tool");
    EXPECT_EQ(form->clientAreaSize(), (Size{411, 315}));
    expectPlacement(*form, {{"&Open...", {8, 14, 80, 24}},
                            {"&Restart", {8, 46, 80, 24}},
                            {"Answer mode:", {12, 88, 69, 13}},
                            {"Normal", {16, 112, 72, 16}},
                            {"Reverse", {16, 136, 72, 16}},
                            {"&About...", {8, 248, 80, 24}},
                            {"E&xit", {8, 280, 80, 24}},
                            {"", {96, 8, 304, 296}}});
    expectPlacement(*form->quizGroup, {{"Correct:", {16, 31, 48, 16}},
                                       {"0", {84, 31, 24, 16}},
                                       {"Incorrect:", {16, 55, 56, 16}},
                                       {"0", {84, 55, 24, 16}},
                                       {"Answered:", {164, 31, 64, 16}},
                                       {"0", {236, 31, 24, 16}},
                                       {"Remaining:", {164, 55, 64, 16}},
                                       {"0", {236, 55, 24, 16}},
                                       {"Word to translate:", {16, 86, 89, 13}},
                                       {"", {16, 104, 272, 24}},
                                       {"", {16, 136, 272, 24}},
                                       {"Your answer:", {16, 174, 64, 13}},
                                       {"", {16, 192, 272, 24}},
                                       {"Re&veal", {130, 224, 75, 24}},
                                       {"&Guess", {213, 224, 75, 24}},
                                       {"Wrong guess reveals answer", {16, 263, 168, 16}}});
}

TEST_F(MainWindow, StartsWithoutADictionary) {
    EXPECT_TRUE(form->openButton->enabled());
    EXPECT_TRUE(form->aboutButton->enabled());
    EXPECT_TRUE(form->exitButton->enabled());
    EXPECT_FALSE(form->restartButton->enabled());
    EXPECT_FALSE(form->revealButton->enabled());
    EXPECT_FALSE(form->guessButton->enabled());
    EXPECT_TRUE(form->normalRadio->checked());
    EXPECT_FALSE(form->reverseRadio->checked());
    EXPECT_TRUE(form->revealOnWrongBox->checked());
    EXPECT_EQ(form->answerBox->backgroundColor(), MyForm::neutralColor);
    EXPECT_EQ(MyForm::neutralColor, (Color{0, 0, 0, 255, 15}));
}

TEST_F(MainWindow, IsAFixedDialogWithTheProgramIcon) {
    EXPECT_EQ(form->borderStyle(), FormBorderStyle::DialogFrame);
    EXPECT_FALSE(form->hasMaximizeButton());
    EXPECT_TRUE(form->hasMinimizeButton());
    EXPECT_TRUE(form->hasSystemMenu());
    EXPECT_EQ(form->initialPosition(), FormStartPosition::CenterOnScreen);
    ASSERT_NE(form->icon(), nullptr) << "the icon images are not compiled into the program";
    EXPECT_EQ(form->icon()->size(), (Size{32, 32}));
}

TEST_F(MainWindow, TheTextBoxesUseTheLargeFontAndOnlyTheGuessBoxTakesTyping) {
    for (TextBox* box : {form->questionBox, form->answerBox, form->guessBox}) {
        ASSERT_NE(box->font(), nullptr);
        EXPECT_EQ(box->font()->family(), "Microsoft Sans Serif");
        EXPECT_EQ(box->font()->size(), 10);
        EXPECT_EQ(box->font()->style(), FontStyle::Regular);
        EXPECT_EQ(box->alignment(), HorizontalAlignment::Center);
    }
    EXPECT_NE(form->questionBox->font(), form->guessBox->font());
    EXPECT_EQ(form->openButton->font(), nullptr);

    QTest::keyClicks(widgetOf(*form->questionBox), "typed");
    QTest::keyClicks(widgetOf(*form->answerBox), "typed");
    QTest::keyClicks(widgetOf(*form->guessBox), "typed");
    EXPECT_EQ(form->questionBox->text(), "");
    EXPECT_EQ(form->answerBox->text(), "");
    EXPECT_EQ(form->guessBox->text(), "typed");
}

// ---------------------------------------------------------------------------------------------

TEST(AboutWindow, IsBuiltAsAFixedCaptionedWindowWithoutIcon) {
    Info about;
    EXPECT_EQ(about.text(), "About");
    EXPECT_EQ(about.icon(), nullptr);
    EXPECT_EQ(about.clientAreaSize(), (Size{244, 263}));
    EXPECT_EQ(about.borderStyle(), FormBorderStyle::RaisedDialogFrame);
    EXPECT_EQ(about.initialPosition(), FormStartPosition::CenterOnOwner);
    EXPECT_FALSE(about.hasMaximizeButton());
    EXPECT_FALSE(about.hasMinimizeButton());
    EXPECT_TRUE(about.hasSystemMenu());

    ASSERT_EQ(about.children().size(), 2u);
    EXPECT_EQ(about.children()[0].get(), about.frame);
    EXPECT_EQ(about.children()[1].get(), about.okButton);
    EXPECT_EQ(about.frame->bounds(), (Rect{-16, -16, 312, 238}));
    EXPECT_EQ(about.okButton->bounds(), (Rect{84, 230, 75, 24}));
    EXPECT_EQ(about.okButton->text(), "OK");
    EXPECT_EQ(about.titleLabel->text(), "Verbaro Tool 1.0");
    ASSERT_NE(about.titleLabel->font(), nullptr);
    EXPECT_EQ(about.titleLabel->font()->style(), FontStyle::Bold);
    EXPECT_NE(about.logoBox->image(), nullptr);
    EXPECT_EQ(about.frame->children().size(), 8u);
    for (const Label* label : {about.freewareLabel, about.makerLabel, about.webLabel, about.authorLabel,
                               about.emailLabel, about.titleLabel, about.readmeLabel}) {
        EXPECT_EQ(label->alignment(), ContentAlignment::TopCenter) << label->text();
    }
}

TEST(AboutWindow, TheProjectLinesFitOnOneLineOfTheirLabels) {
    Info about;
    about.setVisible(true);
    for (const Label* label : {about.makerLabel, about.webLabel, about.authorLabel, about.emailLabel}) {
        const QWidget* widget = widgetOf(*label);
        ASSERT_NE(widget, nullptr);
        EXPECT_LE(widget->fontMetrics().horizontalAdvance(QString::fromStdString(label->text())), widget->width())
            << label->text();
    }
    EXPECT_NE(about.webLabel->text().find("example.org"), std::string::npos);
    EXPECT_NE(about.emailLabel->text().find('@'), std::string::npos);
    about.close();
}

TEST_F(MainWindow, AboutShowsAFreshWindowOverTheMainWindowEachTime) {
    QWidget* main = widgetOf(*form);
    // The second time the main window lies partly off the screen: the About window stays inside.
    for (const QPoint mainPlace : {QPoint(40, 30), QPoint(-200, -100)}) {
        main->move(mainPlace);
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        bool shown = false;
        const WhenAboutShown closing([&](QWidget& about) {
            shown = true;
            const QRect mainFrame = main->frameGeometry();
            const QRect aboutFrame = about.frameGeometry();
            const QRect workArea = about.screen()->availableGeometry();
            if (mainPlace.x() > 0) {
                EXPECT_LE(std::abs(aboutFrame.center().x() - mainFrame.center().x()), 1);
                EXPECT_LE(std::abs(aboutFrame.center().y() - mainFrame.center().y()), 1);
            } else {
                EXPECT_EQ(aboutFrame.topLeft(), workArea.topLeft());
            }
            // The main window takes no input while the About window is up, yet is not greyed; the
            // window manager keeps About above it.
            EXPECT_FALSE(form->enabled());
            EXPECT_EQ(about.windowHandle()->transientParent(), main->windowHandle());
            EXPECT_EQ(about.windowHandle()->modality(), Qt::WindowModal);
            const std::size_t dialogsBefore = dialogs.size();
            QTest::mouseClick(widgetOf(*form->openButton), Qt::LeftButton);
            EXPECT_EQ(dialogs.size(), dialogsBefore) << "a click on Open opens nothing";
            QTest::keyClicks(widgetOf(*form->guessBox), "typed");
            EXPECT_EQ(form->guessBox->text(), "");
            EXPECT_TRUE(widgetOf(*form->openButton)->isEnabled());
            EXPECT_FALSE(widgetOf(*form->restartButton)->isEnabled());
            auto* ok = about.findChild<QPushButton*>();
            ASSERT_NE(ok, nullptr);
            EXPECT_EQ(QApplication::focusWidget(), ok);
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        click(*form->aboutButton);
        EXPECT_TRUE(shown);
        EXPECT_EQ(visibleWindow("About"), nullptr);
        EXPECT_TRUE(form->enabled());
    }
}

// A screen reader names each count with its caption and each box by the label above it, never by
// the group box; About is a modal dialog whose every text is named.
TEST_F(MainWindow, AScreenReaderReadsEveryControlByWhatCaptionsIt) {
    const auto accessible = [](Control& control) { return QAccessible::queryAccessibleInterface(widgetOf(control)); };
    open(write("titled.txt", "@title Animals\nhund = dog\n"));
    const struct {
        Control* control;
        QAccessible::Role role;
        QString name;
    } expected[] = {
        {form.get(), QAccessible::Window, "Verbaro Tool"},
        {form->quizGroup, QAccessible::Grouping, "Animals"},
        {form->correctValue, QAccessible::StaticText, "Correct: 0"},
        {form->incorrectValue, QAccessible::StaticText, "Incorrect: 0"},
        {form->answeredValue, QAccessible::StaticText, "Answered: 0"},
        {form->remainingValue, QAccessible::StaticText, "Remaining: 1"},
        {form->questionBox, QAccessible::EditableText, "Word to translate:"},
        {form->answerBox, QAccessible::EditableText, "Expected answer:"},
        {form->guessBox, QAccessible::EditableText, "Your answer:"},
        {form->reverseRadio, QAccessible::RadioButton, "Reverse"},
    };
    for (const auto& control : expected) {
        EXPECT_EQ(accessible(*control.control)->role(), control.role) << control.name.toStdString();
        EXPECT_EQ(accessible(*control.control)->text(QAccessible::Name), control.name);
        for (const auto& [other, relation] : accessible(*control.control)->relations(QAccessible::Label)) {
            EXPECT_NE(other->object(), widgetOf(*form->quizGroup)) << control.name.toStdString();
        }
    }

    bool shown = false;
    const WhenAboutShown closing([&](QWidget& about) {
        shown = true;
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&about);
        EXPECT_EQ(window->role(), QAccessible::Dialog);
        EXPECT_TRUE(window->state().modal);
        QStringList texts;
        for (const QWidget* widget : about.findChildren<QWidget*>()) {
            const QAccessibleInterface* part = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget));
            if (part->role() == QAccessible::StaticText) {
                texts << part->text(QAccessible::Name);
            }
        }
        EXPECT_TRUE(texts.contains("This program is distributed as freeware.")) << texts.join("|").toStdString();
        EXPECT_TRUE(texts.contains("Verbaro Tool 1.0"));
        EXPECT_EQ(texts.size(), 7);
        about.close();
    });
    click(*form->aboutButton);
    EXPECT_TRUE(shown);
}

TEST_F(MainWindow, CountsUpToSevenDigitsReadWholeFlushRightAndClearOfTheirCaptions) {
    const struct {
        Label* caption;
        Label* value;
    } cells[] = {{form->correctLabel, form->correctValue},
                 {form->incorrectLabel, form->incorrectValue},
                 {form->answeredLabel, form->answeredValue},
                 {form->remainingLabel, form->remainingValue}};
    for (const auto& cell : cells) {
        const Rect specified = cell.value->bounds();
        // Where the ink of the caption ends and where that of the count begins.
        const QWidget* caption = widgetOf(*cell.caption);
        const QString captionText = QString::fromStdString(cell.caption->text());
        const QFontMetrics metrics = caption->fontMetrics();
        const int captionInkEnd =
            caption->x() + metrics.horizontalAdvance(captionText) - metrics.rightBearing(captionText.back());
        for (const std::uint32_t count : {0u, 7u, 9999u, 12345u, 9999999u}) {
            showCount(*cell.value, count);
            const QString text = QString::number(count);
            const QWidget* value = widgetOf(*cell.value);
            EXPECT_EQ(shownLines(*cell.value), std::vector<std::string>{text.toStdString()}) << count;
            EXPECT_EQ(value->geometry().right() + 1, specified.x + specified.width) << count;
            const int countInkStart =
                value->x() + value->width() - metrics.horizontalAdvance(text) + metrics.leftBearing(text.front());
            EXPECT_GE(countInkStart, captionInkEnd) << count << " overlaps \"" << cell.caption->text() << "\"";
            if (count <= 9999) {
                EXPECT_EQ(cell.value->bounds(), specified) << "up to four digits the cell is as it was";
            }
        }
    }
}

TEST_F(MainWindow, TenThousandEntriesAreCountedWhole) {
    std::string entries;
    for (int entry = 0; entry < 10000; ++entry) {
        entries += "w" + std::to_string(entry) + " = t\n";
    }
    open(write("large.txt", entries));
    EXPECT_EQ(shownLines(*form->remainingValue), std::vector<std::string>{"10000"});
}
