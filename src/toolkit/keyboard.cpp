// The keyboard handling of a form: its own shortcuts first, then the dialog keys (Tab, Enter,
// arrows, mnemonics, Alt+F4), for every key pressed in the form's window; and no input at all
// for the window while the form is disabled.

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

#include "toolkit/internal.h"

namespace {

KeyCode virtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z)) return KeyCode(key);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return (modifiers & Qt::KeypadModifier) ? KeyCode(0x60 + key - Qt::Key_0) : KeyCode(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return KeyCode(0x70 + key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Keys::Tab;
    case Qt::Key_Clear:
        return 0x0C;
    // The main and the keypad Enter key are one key to Windows.
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Keys::Enter;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Pause:
        return 0x13;
    case Qt::Key_CapsLock:
        return 0x14;
    case Qt::Key_Escape:
        return Keys::Escape;
    case Qt::Key_Space:
        return Keys::Space;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return Keys::Left;
    case Qt::Key_Up:
        return Keys::Up;
    case Qt::Key_Right:
        return Keys::Right;
    case Qt::Key_Down:
        return Keys::Down;
    case Qt::Key_Print:
        return 0x2C;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    case Qt::Key_Help:
        return 0x2F;
    case Qt::Key_Menu:
        return 0x5D;
    case Qt::Key_Asterisk:
        return (modifiers & Qt::KeypadModifier) ? 0x6A : 0;
    case Qt::Key_Plus:
        return (modifiers & Qt::KeypadModifier) ? 0x6B : 0;
    case Qt::Key_Minus:
        return (modifiers & Qt::KeypadModifier) ? 0x6D : 0;
    case Qt::Key_Period:
        return (modifiers & Qt::KeypadModifier) ? 0x6E : 0;
    case Qt::Key_Slash:
        return (modifiers & Qt::KeypadModifier) ? 0x6F : 0;
    case Qt::Key_NumLock:
        return 0x90;
    case Qt::Key_ScrollLock:
        return 0x91;
    default:
        return 0;
    }
}

bool isLetterOrDigit(KeyCode code) { return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'); }

bool isArrow(KeyCode code) { return code >= Keys::Left && code <= Keys::Down; }

class FormKeyFilter : public MessageFilter {
public:
    explicit FormKeyFilter(Form& form) : form_(form) {}

    bool preFilterMessage(Message& message) override {
        QObject* receiver = message.native().receiver;
        QEvent* event = message.native().event;
        const QEvent::Type type = event->type();
        if (!isUserInput(type)) return false;
        const QWidget* window = form_.nativeWidget();
        if (!window || !isAddressedTo(*window, *receiver)) return false;
        // A disabled window (the owner of a modal one) takes no input at all, while its controls
        // keep their look: on Windows that is a disabled top-level window, whose children are
        // not disabled themselves.
        if (!form_.enabled()) return refuseInput(event);
        if (!receiver->isWidgetType() || (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)) return false;
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const KeyCode key = keyCodeOf(keyEvent->key(), keyEvent->modifiers());
        if (type == QEvent::KeyPress) return handleKey(key);
        // Asked before the key is pressed whether Qt's own shortcuts (a button's "&" among them)
        // may have it: not when the form takes it.
        if (!takesKey(key)) return false;
        event->accept();
        return true;
    }

private:
    // The platform's input reaches the window first, then Qt passes it on to the widgets.
    static bool isAddressedTo(const QWidget& window, const QObject& receiver) {
        if (receiver.isWidgetType()) return static_cast<const QWidget&>(receiver).window() == &window;
        return &receiver == window.windowHandle();
    }

    enum class DialogKey { None, Next, Previous, Enter, NextControl, PreviousControl, Close, Mnemonic };

    DialogKey dialogKeyOf(KeyCode key) const {
        const KeyCode code = key & Keys::CodeMask;
        const KeyCode modifiers = key & ~Keys::CodeMask;
        if (code == Keys::Tab && (modifiers & ~Keys::ShiftModifier) == 0)
            return modifiers ? DialogKey::Previous : DialogKey::Next;
        if (code == Keys::Enter && (modifiers & (Keys::ControlModifier | Keys::AltModifier)) == 0) return DialogKey::Enter;
        if (isArrow(code) && modifiers == 0 && !wantsArrows(focusedControl()))
            return code == Keys::Left || code == Keys::Up ? DialogKey::PreviousControl : DialogKey::NextControl;
        if (code == Keys::F4 && modifiers == Keys::AltModifier) return DialogKey::Close;
        if (isLetterOrDigit(code) && (modifiers & ~Keys::ShiftModifier) == Keys::AltModifier && mnemonicTarget(QChar(char16_t(code))))
            return DialogKey::Mnemonic;
        return DialogKey::None;
    }

    bool takesKey(KeyCode key) const { return form().shortcuts.contains(key) || dialogKeyOf(key) != DialogKey::None; }

    // Whatever a handler does, the form included, nothing of this filter is used after it ran.
    bool handleKey(KeyCode key) {
        const auto shortcut = form().shortcuts.find(key);
        if (shortcut != form().shortcuts.end()) {
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
            focusNext(action == DialogKey::Next, [](const Control& control) { return ControlAccess::state(control).tabStop; });
            return true;
        case DialogKey::NextControl:
        case DialogKey::PreviousControl: {
            const Control* from = focusedControl();
            Control* next = focusNext(action == DialogKey::NextControl, [](const Control&) { return true; });
            if (next && next != from) clickIfRadioButton(*next);
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

    const FormAccess::State& form() const { return FormAccess::state(form_); }

    Control* focusedControl() const {
        const QWidget* focused = QApplication::focusWidget();
        if (!focused || focused->window() != form_.nativeWidget()) return nullptr;
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
            if (accepts(*candidate)) return candidate;
        }
        return nullptr;
    }

    template <class IsStop>
    Control* focusNext(bool forward, IsStop isStop) {
        Control* next = following(focusedControl(), forward, [&](const Control& control) { return isStop(control) && canTakeFocusNow(control); });
        if (next) focusFromKeyboard(*next);
        return next;
    }

    // Arriving at a radio button from the keyboard selects it, as a click would.
    static void clickIfRadioButton(Control& control) {
        if (dynamic_cast<RadioButton*>(&control)) static_cast<QAbstractButton*>(control.nativeWidget())->click();
    }

    void pressEnter() {
        if (auto* button = dynamic_cast<Button*>(focusedControl()))
            button->simulateClick();
        else if (IButtonControl* enterButton = form().enterButton)
            enterButton->simulateClick();
    }

    Control* mnemonicTarget(QChar letter) const {
        return following(focusedControl(), true, [letter](const Control& control) {
            const QWidget* widget = control.nativeWidget();
            return widget && widget->isEnabled() && widget->isVisible() && !dynamic_cast<const TextBoxBase*>(&control) &&
                   mnemonicOf(toQString(control.text())) == letter;
        });
    }

    // A button is clicked; a label or group box gives the focus to the next Tab stop after it.
    void activate(Control& target) {
        if (auto* button = qobject_cast<QAbstractButton*>(target.nativeWidget())) {
            focusFromKeyboard(target);
            button->click();
            return;
        }
        if (Control* next = following(&target, true, [](const Control& control) {
                return ControlAccess::state(control).tabStop && canTakeFocusNow(control);
            }))
            focusFromKeyboard(*next);
    }

    // Once the user has moved the focus with the keyboard, the window shows where the focus is,
    // as Windows does: a focus rectangle on buttons, check boxes and radio buttons.
    void focusFromKeyboard(Control& control) {
        form_.nativeWidget()->setAttribute(Qt::WA_KeyboardFocusChange);
        control.focus();
        control.nativeWidget()->update();
    }

    Form& form_;
};

}  // namespace

KeyCode keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    KeyCode code = virtualKeyOf(qtKey, modifiers);
    if ((modifiers & Qt::ShiftModifier) || qtKey == Qt::Key_Backtab) code |= Keys::ShiftModifier;
    if (modifiers & Qt::ControlModifier) code |= Keys::ControlModifier;
    if (modifiers & Qt::AltModifier) code |= Keys::AltModifier;
    return code;
}

std::unique_ptr<MessageFilter> makeFormKeyFilter(Form& form) { return std::make_unique<FormKeyFilter>(form); }
