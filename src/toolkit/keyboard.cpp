// The keyboard handling of a form: its own shortcuts first, then the dialog keys (Tab, Enter,
// arrows, mnemonics, Alt+F4), for every key pressed in the form's window; and no input at all
// for the window while the form is disabled.

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWindow>
#include <array>

#include "control_p.h"
#include "keyboard_p.h"
#include "label_p.h"
#include "messagefilter_p.h"
#include "toolkit/button.h"
#include "toolkit/textbox.h"

namespace {

// The virtual-key codes of the keys that have one apart from letters, digits and F keys. The main
// and the keypad Enter key are one key to Windows; the keypad's operator keys have codes of their
// own, the same characters elsewhere on the keyboard none.
struct KeyMapping {
    int qtKey;
    KeyCode code;
    bool onKeypadOnly = false;
};

constexpr std::array keyMappings = std::to_array<KeyMapping>({
    {Qt::Key_Backspace, 0x08},    {Qt::Key_Tab, Keys::Tab},      {Qt::Key_Backtab, Keys::Tab},
    {Qt::Key_Clear, 0x0C},        {Qt::Key_Return, Keys::Enter}, {Qt::Key_Enter, Keys::Enter},
    {Qt::Key_Shift, 0x10},        {Qt::Key_Control, 0x11},       {Qt::Key_Alt, 0x12},
    {Qt::Key_Pause, 0x13},        {Qt::Key_CapsLock, 0x14},      {Qt::Key_Escape, Keys::Escape},
    {Qt::Key_Space, Keys::Space}, {Qt::Key_PageUp, 0x21},        {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},          {Qt::Key_Home, 0x24},          {Qt::Key_Left, Keys::Left},
    {Qt::Key_Up, Keys::Up},       {Qt::Key_Right, Keys::Right},  {Qt::Key_Down, Keys::Down},
    {Qt::Key_Print, 0x2C},        {Qt::Key_Insert, 0x2D},        {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},         {Qt::Key_Menu, 0x5D},          {Qt::Key_Asterisk, 0x6A, true},
    {Qt::Key_Plus, 0x6B, true},   {Qt::Key_Minus, 0x6D, true},   {Qt::Key_Period, 0x6E, true},
    {Qt::Key_Slash, 0x6F, true},  {Qt::Key_NumLock, 0x90},       {Qt::Key_ScrollLock, 0x91},
});

KeyCode virtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
    const bool onKeypad = modifiers & Qt::KeypadModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return KeyCode(key);
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return onKeypad ? KeyCode(0x60 + key - Qt::Key_0) : KeyCode(key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return KeyCode(0x70 + key - Qt::Key_F1);
    }
    for (const KeyMapping& mapping : keyMappings) {
        if (mapping.qtKey == key) {
            return !mapping.onKeypadOnly || onKeypad ? mapping.code : 0;
        }
    }
    return 0;
}

bool isLetterOrDigit(KeyCode code) {
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

bool isArrow(KeyCode code) {
    return code >= Keys::Left && code <= Keys::Down;
}

class FormKeyFilter : public MessageFilter {
public:
    FormKeyFilter(Form& form, const ShortcutMap& shortcuts) : form_(form), shortcuts_(shortcuts) {}

    bool preFilterMessage(Message& message) override {
        QObject* receiver = message.native(nativeKey).receiver;
        QEvent* event = message.native(nativeKey).event;
        const QEvent::Type type = event->type();
        if (!isUserInput(type)) {
            return false;
        }
        const QWidget* window = widgetOf(form_);
        if (!window || !isAddressedTo(*window, *receiver)) {
            return false;
        }
        // A disabled window (the owner of a modal one) takes no input at all, while its controls
        // keep their look: on Windows that is a disabled top-level window, whose children are
        // not disabled themselves.
        if (!form_.enabled()) {
            return refuseInput(event);
        }
        if (!receiver->isWidgetType() || (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)) {
            return false;
        }
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const KeyCode key = keyCodeOf(keyEvent->key(), keyEvent->modifiers());
        if (type == QEvent::KeyPress) {
            return handleKey(key);
        }
        // Asked before the key is pressed whether Qt's own shortcuts (a button's "&" among them)
        // may have it: not when the form takes it.
        if (!takesKey(key)) {
            return false;
        }
        event->accept();
        return true;
    }

private:
    // The platform's input reaches the window first, then Qt passes it on to the widgets.
    static bool isAddressedTo(const QWidget& window, const QObject& receiver) {
        if (receiver.isWidgetType()) {
            return static_cast<const QWidget&>(receiver).window() == &window;
        }
        return &receiver == window.windowHandle();
    }

    enum class DialogKey { None, Next, Previous, Enter, NextControl, PreviousControl, Close, Mnemonic };

    DialogKey dialogKeyOf(KeyCode key) const {
        const KeyCode code = key & Keys::CodeMask;
        const KeyCode modifiers = key & ~Keys::CodeMask;
        if (code == Keys::Tab && (modifiers & ~Keys::ShiftModifier) == 0) {
            return modifiers ? DialogKey::Previous : DialogKey::Next;
        }
        if (code == Keys::Enter && (modifiers & (Keys::ControlModifier | Keys::AltModifier)) == 0) {
            return DialogKey::Enter;
        }
        if (isArrow(code) && modifiers == 0 && !wantsArrows(focusedControl())) {
            return code == Keys::Left || code == Keys::Up ? DialogKey::PreviousControl : DialogKey::NextControl;
        }
        if (code == Keys::F4 && modifiers == Keys::AltModifier) {
            return DialogKey::Close;
        }
        if (isLetterOrDigit(code) && (modifiers & ~Keys::ShiftModifier) == Keys::AltModifier
            && mnemonicTarget(QChar(char16_t(code)))) {
            return DialogKey::Mnemonic;
        }
        return DialogKey::None;
    }

    bool takesKey(KeyCode key) const { return shortcuts_.contains(key) || dialogKeyOf(key) != DialogKey::None; }

    // Whatever a handler does, the form included, nothing of this filter is used after it ran.
    bool handleKey(KeyCode key) {
        const auto shortcut = shortcuts_.find(key);
        if (shortcut != shortcuts_.end()) {
            const Form::ShortcutHandler handler = shortcut->second;
            Form& form = form_;
            guarded([&] {
                FormShortcutEventArgs args(key);
                handler(form, args);
            });
            return true;
        }
        const DialogKey action = dialogKeyOf(key);
        switch (action) {
        case DialogKey::None:
            return false;
        case DialogKey::Next:
        case DialogKey::Previous:
            focusNext(action == DialogKey::Next, [](const Control& control) { return control.tabStop(); });
            return true;
        case DialogKey::NextControl:
        case DialogKey::PreviousControl: {
            const Control* from = focusedControl();
            Control* next = focusNext(action == DialogKey::NextControl, [](const Control&) { return true; });
            if (next && next != from) {
                clickIfRadioButton(*next);
            }
            return true;
        }
        case DialogKey::Enter:
            pressEnter();
            return true;
        case DialogKey::Close:
            form_.close();
            return true;
        case DialogKey::Mnemonic:
            activate(*mnemonicTarget(QChar(char16_t(key & Keys::CodeMask))));
            return true;
        }
        return false;
    }

    Control* focusedControl() const {
        const QWidget* focused = QApplication::focusWidget();
        if (!focused || focused->window() != widgetOf(form_)) {
            return nullptr;
        }
        return controlContaining(focused);
    }

    static bool wantsArrows(const Control* control) { return dynamic_cast<const TextBoxBase*>(control) != nullptr; }

    // The first control after `from` in attach order, around the end and back to the start, for
    // which `accepts` holds; `from` itself comes last.
    template <class Accepts>
    Control* following(Control* from, bool forward, Accepts accepts) const {
        const std::vector<Control*> all = descendantsInAttachOrder(form_);
        const std::size_t count = all.size();
        const auto place = std::find(all.begin(), all.end(), from);
        // Without a starting control, the search starts at the first (or the last) control.
        const std::size_t start = place != all.end() ? std::size_t(place - all.begin()) : forward ? count - 1 : 0;
        for (std::size_t step = 1; step <= count; ++step) {
            Control* candidate = all[forward ? (start + step) % count : (start + count - step) % count];
            if (accepts(*candidate)) {
                return candidate;
            }
        }
        return nullptr;
    }

    template <class IsStop>
    Control* focusNext(bool forward, IsStop isStop) {
        Control* next = following(focusedControl(), forward,
                                  [&](const Control& control) { return isStop(control) && canTakeFocusNow(control); });
        if (next) {
            focusFromKeyboard(*next);
        }
        return next;
    }

    // Arriving at a radio button from the keyboard selects it, as a click would.
    static void clickIfRadioButton(Control& control) {
        if (dynamic_cast<RadioButton*>(&control)) {
            static_cast<QAbstractButton*>(widgetOf(control))->click();
        }
    }

    void pressEnter() {
        if (auto* button = dynamic_cast<Button*>(focusedControl())) {
            button->simulateClick();
        } else if (IButtonControl* enterButton = form_.enterButton()) {
            enterButton->simulateClick();
        }
    }

    Control* mnemonicTarget(QChar letter) const {
        return following(focusedControl(), true, [letter](const Control& control) {
            const QWidget* widget = widgetOf(control);
            return widget && widget->isEnabled() && widget->isVisible() && !dynamic_cast<const TextBoxBase*>(&control)
                && mnemonicOf(toQString(control.text())) == letter;
        });
    }

    // A button is clicked; a label or group box gives the focus to the next Tab stop after it.
    void activate(Control& target) {
        if (auto* button = qobject_cast<QAbstractButton*>(widgetOf(target))) {
            focusFromKeyboard(target);
            button->click();
            return;
        }
        if (Control* next = following(
                &target, true, [](const Control& control) { return control.tabStop() && canTakeFocusNow(control); })) {
            focusFromKeyboard(*next);
        }
    }

    // Once the user has moved the focus with the keyboard, the window shows where the focus is,
    // as Windows does: a focus rectangle on buttons, check boxes and radio buttons.
    void focusFromKeyboard(Control& control) {
        widgetOf(form_)->setAttribute(Qt::WA_KeyboardFocusChange);
        control.focus();
        widgetOf(control)->update();
    }

    Form& form_;
    const ShortcutMap& shortcuts_;
};

}  // namespace

KeyCode keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    KeyCode code = virtualKeyOf(qtKey, modifiers);
    if ((modifiers & Qt::ShiftModifier) || qtKey == Qt::Key_Backtab) {
        code |= Keys::ShiftModifier;
    }
    if (modifiers & Qt::ControlModifier) {
        code |= Keys::ControlModifier;
    }
    if (modifiers & Qt::AltModifier) {
        code |= Keys::AltModifier;
    }
    return code;
}

std::unique_ptr<MessageFilter> makeFormKeyFilter(Form& form, const ShortcutMap& shortcuts) {
    return std::make_unique<FormKeyFilter>(form, shortcuts);
}
