// Buttons, check boxes and radio buttons: clicks by the user and by code, the default look.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <stdexcept>

#include "controls_support.h"

using namespace controls_support;

namespace {

class ButtonsTest : public ::testing::Test {
protected:
    void SetUp() override { startToolkit(); }

    static bool looksDefault(Button& button) { return static_cast<QPushButton*>(widgetOf(button))->isDefault(); }

    Form form;
};

TEST_F(ButtonsTest, SimulateClickOnlyForAnEnabledVisibleMadeButton) {
    auto* button = addControl<Button>(&form, "&Guess", {10, 10, 75, 24});
    ClickCount clicks(*button);
    button->simulateClick();
    EXPECT_EQ(clicks.count, 0) << "no widget yet";
    show(form);
    button->setEnabled(false);
    button->simulateClick();
    EXPECT_EQ(clicks.count, 0) << "disabled";
    button->setEnabled(true);
    button->setVisible(false);
    button->simulateClick();
    EXPECT_EQ(clicks.count, 0) << "hidden";
    button->setVisible(true);
    button->simulateClick();
    EXPECT_EQ(clicks.count, 1);
}

TEST_F(ButtonsTest, UserClickRaisesClickAndAFailingHandlerIsReported) {
    auto* button = addControl<Button>(&form, "&Open...", {10, 10, 80, 24});
    int clicks = 0;
    button->click += [&](Control& sender, EventArgs&) {
        EXPECT_EQ(&sender, button);
        ++clicks;
        throw std::runtime_error("click failed");
    };
    std::vector<std::string> reported;
    const auto reportId = Application::unhandledException.add(
        [&](std::thread::id&, ThreadExceptionEventArgs& args) { reported.push_back(textForm(args.exception)); });
    show(form);

    QTest::mouseClick(widgetOf(*button), Qt::LeftButton);
    press(form, Qt::Key_Space);
    Application::unhandledException.remove(reportId);

    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(reported, (std::vector<std::string>{"click failed", "click failed"}));
}

TEST_F(ButtonsTest, DefaultLookOnlyWhileEnabled) {
    auto* button =
        addControl<Button>(&form, "&Guess", {10, 10, 75, 24}, [](Button& button) { button.setEnabled(false); });
    button->markDefault(true);
    show(form);
    EXPECT_FALSE(looksDefault(*button));
    button->setEnabled(true);
    EXPECT_TRUE(looksDefault(*button));
    button->setEnabled(false);
    EXPECT_FALSE(looksDefault(*button));
    button->setEnabled(true);
    button->markDefault(false);
    EXPECT_FALSE(looksDefault(*button));
}

TEST_F(ButtonsTest, EnterButtonTakesTheDefaultLookFromTheFormerOne) {
    auto* first = addControl<Button>(&form, "&Continue", {10, 10, 100, 23});
    auto* second = addControl<Button>(&form, "&Quit", {120, 10, 100, 23});
    show(form);
    form.setEnterButton(first);
    EXPECT_TRUE(looksDefault(*first));
    form.setEnterButton(second);
    EXPECT_FALSE(looksDefault(*first));
    EXPECT_TRUE(looksDefault(*second));
    EXPECT_EQ(form.enterButton(), second);
}

TEST_F(ButtonsTest, CheckBoxTogglesOnClickAndReadsTheLiveState) {
    auto* box = addControl<CheckBox>(&form, "Wrong guess reveals answer", {10, 10, 168, 16},
                                     [](CheckBox& box) { box.setChecked(true); });
    EXPECT_TRUE(box->checked());
    ClickCount clicks(*box);
    show(form);
    QTest::mouseClick(widgetOf(*box), Qt::LeftButton);
    EXPECT_FALSE(box->checked());
    EXPECT_EQ(clicks.count, 1);
    box->setChecked(true);
    EXPECT_TRUE(box->checked());
    EXPECT_EQ(clicks.count, 1) << "setting it from code is no click";
}

TEST_F(ButtonsTest, RadioButtonsExcludeEachOtherOnUserClicksOnly) {
    auto* normal =
        addControl<RadioButton>(&form, "Normal", {16, 112, 72, 16}, [](RadioButton& radio) { radio.setChecked(true); });
    auto* reverse = addControl<RadioButton>(&form, "Reverse", {16, 136, 72, 16});
    auto* group = addControl<GroupBox>(&form, "", {100, 100, 100, 100});
    auto* elsewhere = addControl<RadioButton>(group, "Elsewhere", {10, 20, 80, 16},
                                              [](RadioButton& radio) { radio.setChecked(true); });
    bool checkedWhenClicked = false;
    reverse->click += [&](Control&, EventArgs&) { checkedWhenClicked = reverse->checked() && !normal->checked(); };
    ClickCount normalClicks(*normal);
    show(form);
    EXPECT_TRUE(normal->checked());
    EXPECT_FALSE(reverse->checked());

    reverse->setChecked(true);
    EXPECT_TRUE(normal->checked()) << "setting it from code unchecks nothing";
    reverse->setChecked(false);

    QTest::mouseClick(widgetOf(*reverse), Qt::LeftButton);
    EXPECT_TRUE(reverse->checked());
    EXPECT_FALSE(normal->checked());
    EXPECT_TRUE(checkedWhenClicked) << "click comes after the checked state changed";
    EXPECT_TRUE(elsewhere->checked()) << "only siblings with the same parent";

    QTest::mouseClick(widgetOf(*reverse), Qt::LeftButton);
    EXPECT_TRUE(reverse->checked()) << "clicking a checked radio button leaves it checked";
    EXPECT_EQ(normalClicks.count, 0);
    EXPECT_FALSE(widgetOf(*reverse)->focusPolicy() & Qt::TabFocus) << "no Tab stop";
}

TEST_F(ButtonsTest, FocusWithinAGroupBox) {
    auto* outside = addControl<Button>(&form, "Outside", {10, 10, 75, 23});
    auto* group = addControl<GroupBox>(&form, "Group", {10, 40, 200, 100});
    auto* inside = addControl<TextBox>(group, "", {10, 20, 100, 20});
    show(form);
    outside->focus();
    EXPECT_FALSE(group->focusWithin());
    inside->focus();
    EXPECT_TRUE(group->focusWithin());
    EXPECT_TRUE(inside->focusWithin());
    EXPECT_FALSE(outside->focusWithin());
}

// The test carries the program's icon images as icon group 5.
TEST_F(ButtonsTest, PictureBoxShowsTheIconAtItsOwnSizeAtTheTopLeft) {
    const auto icon = Application::programResources().loadIcon(5, true);
    ASSERT_NE(icon, nullptr);
    auto* box = addControl<PictureBox>(&form, "", {40, 32, 48, 48});
    show(form);
    const QImage empty = widgetOf(*box)->grab().toImage();
    QImage expected = empty;
    QPainter(&expected).drawPixmap(0, 0, QPixmap(":/icons/5/32-32.png"));
    box->setImage(icon);
    EXPECT_EQ(box->image(), icon);
    EXPECT_EQ(widgetOf(*box)->grab().toImage(), expected);
    box->setImage(nullptr);
    EXPECT_EQ(widgetOf(*box)->grab().toImage(), empty);
}

}  // namespace
