// Modal display of a form: shown over the active window, which it keeps from input, with a nested
// message loop until it is hidden; and a modal window brought back to the user when the window it
// keeps from input is activated all the same.

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>

#include "application_p.h"
#include "control_p.h"
#include "form_p.h"

namespace {

// The window being mapped anew to bring it back to the user (see bringBack): its hiding on the
// way is no hiding to its form.
QPointer<QWindow> windowBeingMappedAnew;
// A modal window mapped anew that has not had the keyboard since. Unmapping it gave the keyboard
// to the window below for a moment: that activation was the compositor's, not the user's.
QPointer<QWindow> windowComingBack;

// The window a modal form disables while it is up: a toolkit form's through the toolkit, so that
// it takes no input yet keeps its look, any other through Qt.
class DisabledOwner {
public:
    DisabledOwner(QWidget* window, Form* form) : window_(window), form_(form) {
        if (!window_ || !(form_ ? form_->enabled() : window_->isEnabled())) {
            return;
        }
        setOwnerEnabled(false);
        disabled_ = true;
    }
    ~DisabledOwner() { restore(); }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

    // Re-enables and activates the owner, once, if this display disabled it.
    void restore() {
        if (!disabled_) {
            return;
        }
        disabled_ = false;
        if (!window_) {
            return;
        }
        setOwnerEnabled(true);
        window_->activateWindow();
    }

private:
    void setOwnerEnabled(bool enabled) {
        if (form_) {
            form_->setEnabled(enabled);
        } else {
            window_->setEnabled(enabled);
        }
    }

    QPointer<QWidget> window_;
    Form* form_;
    bool disabled_ = false;
};

}  // namespace

bool isBeingMappedAnew(const QWindow* window) {
    return window == windowBeingMappedAnew;
}

// Gives the modal window back the keyboard, on top. Under X11 the window manager keeps a modal
// window above its owner and gives it the focus when the owner is clicked; this is for window
// systems that let the user activate a window that a modal one blocks. Wayland compositors of
// Qt 6.4's day know no modal windows, and sway answers a request for activation by marking the
// window urgent only; what it always gives the keyboard, on top, is a window just mapped. So
// there the modal window is mapped anew: hidden and shown at the level of its platform window,
// which leaves its widget, its modal loop and its focus as they are.
void bringBack(QWindow& modal) {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        modal.raise();
        modal.requestActivate();
        return;
    }
    if (windowComingBack == &modal) {
        return;
    }
    static const QMetaObject::Connection arrived =
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, [](const QWindow* focus) {
            if (focus && focus == windowComingBack) {
                windowComingBack = nullptr;
            }
        });
    windowComingBack = &modal;
    windowBeingMappedAnew = &modal;
    modal.hide();
    modal.show();
    windowBeingMappedAnew = nullptr;
}

DialogResult Form::dialogResult() const {
    return impl_->dialogResult;
}

void Form::setDialogResult(DialogResult result) {
    impl_->dialogResult = result;
}

Form* Form::owner() const {
    return impl_->owner;
}

// No window is disabled, yet the window manager keeps the form above the window that was active
// and gives it the keyboard when any other window of the program is clicked.
void Form::showOverWholeProgram() {
    impl_->ownerWindow = QApplication::activeWindow();
    impl_->modality = Qt::ApplicationModal;
    setVisible(true);
}

DialogResult Form::showModal() {
    ensureQtApplication();
    QWidget* ownerWindow = QApplication::activeWindow();
    if (ownerWindow && ownerWindow == widgetOf(*this)) {
        ownerWindow = nullptr;
    }
    if (!enabled() || (created() && widgetOf(*this)->isVisible()) || (ownerWindow && !ownerWindow->isWindow())) {
        throw ToolkitException("Unable to show dialog");
    }

    Impl& state = *impl_;
    Form* ownerForm = ownerWindow ? formOfWidget(ownerWindow) : nullptr;
    DisabledOwner owner(ownerWindow, ownerForm);
    bool hidden = false;
    state.owner = ownerForm;
    state.ownerWindow = ownerWindow;
    state.modality = Qt::WindowModal;
    state.shownModally = true;
    state.hiddenWhileModal = [&] {
        hidden = true;
        owner.restore();
    };
    // However the display ends, the form is hidden but kept for its caller, and the owner comes
    // back before anything else happens: hidden first, as the owner takes the focus again only
    // once the form no longer keeps it from input.
    struct EndDisplay {
        Form& form;
        Impl& state;
        DisabledOwner& owner;
        ~EndDisplay() {
            state.hiddenWhileModal = nullptr;
            state.shownModally = false;
            state.modality = Qt::NonModal;
            state.ownerWindow = nullptr;
            form.setVisible(false);
            owner.restore();
            state.owner = nullptr;
        }
    } endDisplay{*this, state, owner};

    setVisible(true);
    runMessagePasses(LoopDepth::Nested, [&] { return hidden || !created() || !widgetOf(*this)->isVisible(); });
    return state.dialogResult;
}
