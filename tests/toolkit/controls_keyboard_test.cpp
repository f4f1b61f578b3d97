// The keyboard handling of forms: shortcuts before everything, then Tab, arrows, Enter,
// mnemonics and Alt+F4.

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <stdexcept>
#include <vector>

#include "controls_support.h"
#include "keyboard_p.h"

using namespace controls_support;

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override { startToolkit(); }

    Form form;
};

TEST_F(KeyboardTest, EnterShortcutIsConsumedBeforeTheTextBoxSeesIt) {
    auto* box = addControl<TextBox>(&form, "", {10, 10, 100, 20});
    std::vector<KeyCode> keys;
    Form* sender = nullptr;
    form.addKeyShortcut(Keys::Enter, [&](Form& from, FormShortcutEventArgs& args) {
        sender = &from;
        keys.push_back(args.key);
    });
    show(form);
    box->focus();
    int returnsSeen = 0;
    QObject::connect(static_cast<QLineEdit*>(widgetOf(*box)), &QLineEdit::returnPressed, [&] { ++returnsSeen; });

    press(form, Qt::Key_Return);
    press(form, Qt::Key_Enter, Qt::KeypadModifier);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(widgetOf(*box), &repeated);

    EXPECT_EQ(keys, (std::vector<KeyCode>{Keys::Enter, Keys::Enter, Keys::Enter}));
    EXPECT_EQ(sender, &form);
    EXPECT_EQ(returnsSeen, 0);
}

TEST_F(KeyboardTest, ShortcutsMatchTheModifiersExactly) {
    auto* box = addControl<TextBox>(&form, "", {10, 10, 100, 20});
    int saves = 0;
    form.addKeyShortcut(Keys::ControlModifier | 'S', [&](Form&, FormShortcutEventArgs&) { ++saves; });
    show(form);
    box->focus();

    press(form, Qt::Key_S, Qt::ControlModifier);
    press(form, Qt::Key_S);
    press(form, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);

    EXPECT_EQ(saves, 1);
    EXPECT_EQ(box->text(), "s") << "the keys that are no shortcut reach the box";
}

TEST_F(KeyboardTest, SameKeyTwiceOnOneFormConflictsButNotOnTwoForms) {
    form.addKeyShortcut(Keys::Enter, [](Form&, FormShortcutEventArgs&) {});
    try {
        form.addKeyShortcut(Keys::Enter, [](Form&, FormShortcutEventArgs&) {});
        FAIL() << "no conflict reported";
    } catch (const ToolkitException& error) {
        EXPECT_STREQ(error.what(), "Shortcut key conflict");
    }
    Form other;
    EXPECT_NO_THROW(other.addKeyShortcut(Keys::Enter, [](Form&, FormShortcutEventArgs&) {}));
}

TEST_F(KeyboardTest, EachFormSeesOnlyTheKeysOfItsOwnWindows) {
    Form other;
    addControl<Button>(&form, "A", {10, 10, 75, 23});
    addControl<Button>(&other, "B", {10, 10, 75, 23});
    int mine = 0;
    int theirs = 0;
    form.addKeyShortcut(Keys::Enter, [&](Form&, FormShortcutEventArgs&) { ++mine; });
    other.addKeyShortcut(Keys::Enter, [&](Form&, FormShortcutEventArgs&) { ++theirs; });
    show(form);
    show(other);

    press(other, Qt::Key_Return);
    QTest::keyClick(widgetOf(*form.children().front()), Qt::Key_Return);

    EXPECT_EQ(mine, 1);
    EXPECT_EQ(theirs, 1);
}

TEST_F(KeyboardTest, ShortcutHandlerErrorIsReportedAndTheKeyStillConsumed) {
    auto* box = addControl<TextBox>(&form, "", {10, 10, 100, 20});
    form.addKeyShortcut(Keys::Space, [](Form&, FormShortcutEventArgs&) { throw std::runtime_error("handler failed"); });
    std::vector<std::string> reported;
    const auto reportId = Application::unhandledException.add(
        [&](std::thread::id&, ThreadExceptionEventArgs& args) { reported.push_back(textForm(args.exception)); });
    show(form);
    box->focus();

    press(form, Qt::Key_Space);
    Application::unhandledException.remove(reportId);

    EXPECT_EQ(reported, std::vector<std::string>{"handler failed"});
    EXPECT_EQ(box->text(), "");
}

// Tab goes through the Tab stops in attach order, into the group box and around; radio buttons,
// labels, group boxes and disabled controls are no stops.
TEST_F(KeyboardTest, TabFollowsAttachOrderAcrossContainersAndWraps) {
    auto* first = addControl<Button>(&form, "First", {10, 10, 75, 23});
    auto* box = addControl<TextBox>(&form, "", {10, 40, 100, 20});
    auto* group = addControl<GroupBox>(&form, "Group", {10, 70, 200, 100});
    addControl<RadioButton>(group, "Radio", {10, 20, 80, 16});
    auto* check = addControl<CheckBox>(group, "Check", {10, 40, 80, 16});
    auto* inner = addControl<Button>(group, "Inner", {10, 60, 75, 23});
    addControl<Label>(&form, "Label", {10, 180, 60, 13});
    addControl<Button>(&form, "Off", {10, 200, 75, 23}, [](Button& button) { button.setEnabled(false); });
    auto* last = addControl<Button>(&form, "Last", {100, 200, 75, 23});
    show(form);
    ASSERT_TRUE(first->focusWithin()) << "the first Tab stop has the focus when the form is first shown";

    std::vector<Control*> forward;
    for (int step = 0; step < 6; ++step) {
        press(form, Qt::Key_Tab);
        forward.push_back(controlOfWidget(QApplication::focusWidget()));
    }
    EXPECT_EQ(forward, (std::vector<Control*>{box, check, inner, last, first, box}));

    press(form, Qt::Key_Backtab, Qt::ShiftModifier);
    press(form, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(last->focusWithin());
    EXPECT_FALSE(group->focusWithin());
    press(form, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(group->focusWithin()) << "a group box has the focus within while one of its controls has it";
    EXPECT_TRUE(inner->focusWithin());
}

TEST_F(KeyboardTest, ArrowsMoveAmongControlsAndSelectRadioButtonsButStayInTextBoxes) {
    auto* button = addControl<Button>(&form, "Button", {10, 10, 75, 23});
    addControl<Label>(&form, "Mode:", {10, 40, 60, 13});
    auto* normal =
        addControl<RadioButton>(&form, "Normal", {10, 60, 80, 16}, [](RadioButton& radio) { radio.setChecked(true); });
    auto* reverse = addControl<RadioButton>(&form, "Reverse", {10, 80, 80, 16});
    auto* box = addControl<TextBox>(&form, "abc", {10, 100, 100, 20});
    ClickCount reverseClicks(*reverse);
    bool checkedWhenClicked = false;
    reverse->click += [&](Control&, EventArgs&) { checkedWhenClicked = reverse->checked() && !normal->checked(); };
    show(form);
    button->focus();

    press(form, Qt::Key_Down);
    EXPECT_TRUE(normal->focusWithin());
    press(form, Qt::Key_Right);
    EXPECT_TRUE(reverse->focusWithin());
    EXPECT_TRUE(reverse->checked());
    EXPECT_FALSE(normal->checked());
    EXPECT_EQ(reverseClicks.count, 1);
    EXPECT_TRUE(checkedWhenClicked);

    press(form, Qt::Key_Down);
    ASSERT_TRUE(box->focusWithin());
    press(form, Qt::Key_Down);
    press(form, Qt::Key_Up);
    press(form, Qt::Key_Left);
    EXPECT_TRUE(box->focusWithin()) << "a text box keeps the arrow keys";
}

TEST_F(KeyboardTest, EnterPressesTheFocusedButtonElseTheEnterButton) {
    auto* accept = addControl<Button>(&form, "&Continue", {10, 10, 100, 23});
    auto* other = addControl<Button>(&form, "&Quit", {120, 10, 100, 23});
    auto* box = addControl<TextBox>(&form, "", {10, 40, 100, 50}, [](TextBox& box) { box.setMultiline(true); });
    form.setEnterButton(accept);
    ClickCount accepted(*accept);
    ClickCount others(*other);
    show(form);

    box->focus();
    press(form, Qt::Key_Return);
    EXPECT_EQ(accepted.count, 1);
    EXPECT_EQ(box->text(), "") << "Enter adds no line to a multi-line box in a form";

    other->focus();
    press(form, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(others.count, 1);
    EXPECT_EQ(accepted.count, 1);
}

TEST_F(KeyboardTest, AltAndALetterActivatesTheControlWithThatMnemonic) {
    auto* open = addControl<Button>(&form, "&Open...", {10, 10, 80, 24});
    auto* exit = addControl<Button>(&form, "E&xit", {10, 40, 80, 24}, [](Button& button) { button.setEnabled(false); });
    auto* check = addControl<CheckBox>(&form, "&Reveal", {10, 70, 120, 16});
    addControl<Label>(&form, "&Name:", {10, 90, 60, 13});
    auto* name = addControl<TextBox>(&form, "", {80, 90, 100, 20});
    ClickCount opened(*open);
    ClickCount exited(*exit);
    ClickCount revealed(*check);
    show(form);

    press(form, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(opened.count, 1) << "the button's own Qt shortcut must not click a second time";
    EXPECT_TRUE(open->focusWithin());

    press(form, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(exited.count, 0);

    press(form, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(check->checked());
    EXPECT_EQ(revealed.count, 1);

    press(form, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(name->focusWithin()) << "a label's mnemonic goes to the next Tab stop";
}

TEST_F(KeyboardTest, AltF4ClosesAndEscapeDoesNothing) {
    addControl<Button>(&form, "OK", {10, 10, 75, 23});
    int closings = 0;
    int closes = 0;
    form.closing += [&](Form&, CancelEventArgs&) { ++closings; };
    form.closed += [&](Form&, EventArgs&) { ++closes; };
    show(form);

    press(form, Qt::Key_Escape);
    EXPECT_TRUE(form.created());
    EXPECT_EQ(closings, 0);

    press(form, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form.created());
}

TEST(KeyCodes, QtKeysBecomeVirtualKeyCodesWithModifierBits) {
    const auto codeOf = [](Qt::Key key, Qt::KeyboardModifiers modifiers) { return keyCodeOf(key, modifiers); };
    EXPECT_EQ(codeOf(Qt::Key_Return, Qt::NoModifier), Keys::Enter);
    EXPECT_EQ(codeOf(Qt::Key_Enter, Qt::KeypadModifier), Keys::Enter);
    EXPECT_EQ(codeOf(Qt::Key_A, Qt::ShiftModifier), 'A' | Keys::ShiftModifier);
    EXPECT_EQ(codeOf(Qt::Key_7, Qt::ControlModifier | Qt::AltModifier),
              '7' | Keys::ControlModifier | Keys::AltModifier);
    EXPECT_EQ(codeOf(Qt::Key_7, Qt::KeypadModifier), 0x67u);
    EXPECT_EQ(codeOf(Qt::Key_Backtab, Qt::ShiftModifier), Keys::Tab | Keys::ShiftModifier);
    EXPECT_EQ(codeOf(Qt::Key_F4, Qt::AltModifier), Keys::F4 | Keys::AltModifier);
    EXPECT_EQ(codeOf(Qt::Key_Escape, Qt::NoModifier), Keys::Escape);
    EXPECT_EQ(codeOf(Qt::Key_Down, Qt::NoModifier), Keys::Down);
}

// Whether a row of the control's picture holds a run of dots, every other pixel dark over more
// than any letter spans: the edge of a focus rectangle as Windows draws it.
bool showsFocusRectangle(Control& control) {
    const QImage image = widgetOf(control)->grab().toImage();
    constexpr int dottedRun = 12;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width() && run < dottedRun; ++x) {
            const bool dark = qGray(image.pixel(x, y)) < 100;
            run = dark == (run % 2 == 0) ? run + 1 : (dark ? 1 : 0);
        }
        if (run >= dottedRun) {
            return true;
        }
    }
    return false;
}

TEST_F(KeyboardTest, OnceTheKeyboardMovesTheFocusTheFocusedControlShowsAFocusRectangle) {
    auto* open = addControl<Button>(&form, "&Open...", {8, 14, 80, 24});
    auto* exit = addControl<Button>(&form, "E&xit", {8, 46, 80, 24});
    auto* check = addControl<CheckBox>(&form, "Wrong guess reveals answer", {8, 78, 168, 16});
    auto* normal = addControl<RadioButton>(&form, "Normal", {8, 102, 72, 16});
    const std::vector<Control*> controls{open, exit, check, normal};
    show(form);
    open->focus();
    for (Control* control : controls) {
        EXPECT_FALSE(showsFocusRectangle(*control)) << "not before a key has moved the focus";
    }

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Control* focused;
    } steps[] = {{Qt::Key_Tab, Qt::NoModifier, exit},
                 {Qt::Key_Tab, Qt::NoModifier, check},
                 {Qt::Key_O, Qt::AltModifier, open},
                 {Qt::Key_Up, Qt::NoModifier, normal}};
    for (const auto& step : steps) {
        press(form, step.key, step.modifiers);
        ASSERT_TRUE(step.focused->focusWithin()) << step.focused->text();
        for (Control* control : controls) {
            EXPECT_EQ(showsFocusRectangle(*control), control == step.focused)
                << control->text() << " after a key to " << step.focused->text();
        }
    }
}

}  // namespace
