// Labels: wrapping, the cut last line, alignment, fitting to the text; and that the texts of
// the program's windows fit their places in the default fonts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>

#include "controls_support.h"
#include "font_p.h"
#include "label_p.h"

using namespace controls_support;

namespace {

QStringList linesOf(const char* text, QSize size, const std::shared_ptr<Font>& font = nullptr) {
    Label label;
    label.setText(text);
    label.setFont(font);
    label.setBounds(0, 0, size.width(), size.height());
    QStringList lines;
    for (const std::string& line : shownLines(label)) {
        lines.append(QString::fromStdString(line));
    }
    return lines;
}

// The columns and rows of a rendered widget that hold ink darker than its background.
QRect inkOf(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override { startToolkit(); }

    Form form;
};

TEST_F(LabelTest, TextsOfTheWindowsFitTheirLabelsOnOneLine) {
    const auto font10 = std::make_shared<Font>("Microsoft Sans Serif", 10, FontStyle::Bold, GraphicsUnit::Point);
    const struct {
        const char* text;
        QSize size;
    } labels[] = {
        {"Answer mode:", {69, 13}}, {"Correct:", {48, 16}},   {"Incorrect:", {56, 16}},
        {"Answered:", {64, 16}},    {"Remaining:", {64, 16}}, {"Word to translate:", {89, 13}},
        {"Your answer:", {64, 13}}, {"9999", {24, 16}},       {"This program is distributed as freeware.", {224, 16}},
    };
    for (const auto& label : labels) {
        EXPECT_EQ(linesOf(label.text, label.size), QStringList{label.text}) << label.text;
    }
    EXPECT_EQ(linesOf("Verbaro Tool 1.0", {160, 24}, font10), QStringList{"Verbaro Tool 1.0"});
}

TEST_F(LabelTest, AnswerModeIsDrawnWholeIn69Pixels) {
    auto* label = addControl<Label>(&form, "Answer mode:", {12, 88, 69, 13});
    auto* shorter = addControl<Label>(&form, "Answer", {12, 120, 69, 13});
    show(form);
    const QRect ink = inkOf(widgetOf(*label));
    EXPECT_GT(ink.right(), inkOf(widgetOf(*shorter)).right() + 20) << "the whole text, not only its first word";
    EXPECT_LE(ink.right(), 68);
    EXPECT_GE(ink.top(), 0);
}

TEST_F(LabelTest, LongTextsWrapAtSpacesWithinTheWidthAndShowWhatFits) {
    const char* readme = "For instructions on how to create verbaro files, please see the file readme.txt which "
                         "comes bundled with the application.";
    const QStringList lines = linesOf(readme, {216, 48});
    EXPECT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.join(' '), readme) << "the text wraps at spaces and nothing is lost";
    const QFontMetricsF metrics(QApplication::font());
    for (const QString& line : lines) {
        EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), 216 + 1) << line.toStdString();
    }

    const char* sentence = "An application exception has occured. Click Continue to allow the application to ignore "
                           "this error and attempt to continue.";
    EXPECT_EQ(linesOf(sentence, {320, 40}).join(' '), sentence);
}

TEST_F(LabelTest, ALastLineThatWouldBeCutOffIsNotDrawn) {
    const int lineHeight = labelLineHeight(qFontOf(nullptr));
    EXPECT_EQ(lineHeight, 13) << "the default font's lines are as far apart as on the reference platform";
    const char* text = "one two three four five six seven eight nine ten";
    const QStringList all = linesOf(text, {60, 100 * lineHeight});
    ASSERT_GE(all.size(), 4);
    EXPECT_EQ(linesOf(text, {60, 3 * lineHeight}), all.mid(0, 3));
    EXPECT_EQ(linesOf(text, {60, 3 * lineHeight + lineHeight - 1}), all.mid(0, 3));
    EXPECT_EQ(linesOf(text, {60, lineHeight - 1}), QStringList());
}

TEST_F(LabelTest, LineBreaksWordsTooLongAndMnemonics) {
    EXPECT_EQ(linesOf("first\r\nsecond\nthird", {200, 100}), (QStringList{"first", "second", "third"}));
    const QStringList broken = linesOf("Supercalifragilistic", {30, 100});
    EXPECT_GT(broken.size(), 1);
    EXPECT_EQ(broken.join(""), "Supercalifragilistic");
    EXPECT_EQ(linesOf("Re&veal && go", {200, 100}), QStringList{"Reveal & go"});
}

TEST_F(LabelTest, AlignmentPlacesEachLine) {
    auto* left = addControl<Label>(&form, "0", {0, 0, 40, 16});
    auto* right = addControl<Label>(&form, "0", {0, 20, 40, 16},
                                    [](Label& label) { label.setAlignment(ContentAlignment::TopRight); });
    auto* centre = addControl<Label>(&form, "0", {0, 40, 40, 16},
                                     [](Label& label) { label.setAlignment(ContentAlignment::TopCenter); });
    show(form);
    EXPECT_LT(inkOf(widgetOf(*left)).left(), 3);
    EXPECT_GT(inkOf(widgetOf(*right)).right(), 36);
    const QRect middle = inkOf(widgetOf(*centre));
    EXPECT_NEAR((middle.left() + middle.right()) / 2.0, 20, 2);
}

TEST_F(LabelTest, FitToTextSizesTheLabelUntilBoundsOverrideIt) {
    Label label;
    label.setText("Word to translate:");
    label.setFitToText(true);
    const int width = label.bounds().width;
    EXPECT_NEAR(width, QFontMetricsF(QApplication::font()).horizontalAdvance("Word to translate:"), 1);
    EXPECT_EQ(label.bounds().height, 13);

    label.setBounds(16, 86, 89, 13);
    EXPECT_EQ(label.bounds(), (Rect{16, 86, 89, 13}));
    label.setText("Your answer:");
    EXPECT_EQ(label.bounds().x, 16);
    EXPECT_LT(label.bounds().width, width);
    EXPECT_EQ(label.bounds().height, 13);
}

// The buttons and check boxes of the windows show their texts whole.
TEST_F(LabelTest, ButtonTextsFitTheirButtons) {
    const struct {
        const char* text;
        int width;
    } buttons[] = {{"&Open...", 80}, {"&Restart", 80}, {"&About...", 80}, {"E&xit", 80},      {"Re&veal", 75},
                   {"&Guess", 75},   {"&Next", 75},    {"OK", 75},        {"&Continue", 100}, {"&Quit", 100}};
    // The style asks for a minimum width that is no matter here: the text and its margins are.
    const QFontMetrics metrics(QApplication::font());
    for (const auto& button : buttons) {
        const QString shown = QString(button.text).remove('&');
        EXPECT_LE(metrics.horizontalAdvance(shown) + 12, button.width) << button.text;
    }
    auto* check = addControl<CheckBox>(&form, "Wrong guess reveals answer", {0, 0, 168, 16});
    auto* radio = addControl<RadioButton>(&form, "Reverse", {0, 0, 72, 16});
    show(form);
    EXPECT_LE(widgetOf(*check)->sizeHint().width(), 168);
    EXPECT_LE(widgetOf(*radio)->sizeHint().width(), 72);
}

}  // namespace
