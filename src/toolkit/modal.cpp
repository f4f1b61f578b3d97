// Modal display of a form: shown over the active window, which it keeps from input, with a nested
// message loop until it is hidden; and a modal window brought back to the user when the window it
// keeps from input is activated all the same.

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "application_p.h"
#include "control_p.h"
#include "form_p.h"

namespace {

// The window being mapped anew to bring it back to the user (see bringBack): its hiding on the
// way is no hiding to its form.
QPointer<QWindow> windowBeingMappedAnew;
// A modal window just mapped, first or anew, that has not had the keyboard since, and since when.
// For a moment after it was mapped, unless it has had the keyboard since, the compositor may still
// be setting up its surface, and Qt's Wayland plugin aborts (or breaks the protocol) when asked to
// map it anew meanwhile; and unmapping it gave the keyboard to the window below for a moment: that
// activation was the compositor's, not the user's. Once the moment is over the window comes back
// if the window below still has the keyboard.
QPointer<QWindow> windowComingBack;
QElapsedTimer comingBackSince;
constexpr qint64 mappingMilliseconds = 500;
// How often the window coming back has been mapped anew without having had the keyboard since: a
// compositor that never gives a mapped window the keyboard does not see it mapped again and again.
int mapsWithoutKeyboard = 0;
constexpr int mostMapsWithoutKeyboard = 3;

void mapped(QWindow& window) {
    if (windowComingBack != &window) {
        mapsWithoutKeyboard = 0;
    }
    windowComingBack = &window;
    comingBackSince.start();
}

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Gives the modal window back the keyboard, on top. Under X11 the window manager keeps a modal
// window above its owner and gives it the focus when the owner is clicked; this is for window
// systems that let the user activate a window that a modal one blocks. Wayland compositors of
// Qt 6.4's day know no modal windows, and sway answers a request for activation by marking the
// window urgent only; what it always gives the keyboard, on top, is a window just mapped. So
// there the modal window is mapped anew: hidden and shown at the level of its platform window,
// which leaves its widget, its modal loop and its focus as they are.
void bringBack(QWindow& modal) {
    if (!onWayland()) {
        modal.raise();
        modal.requestActivate();
        return;
    }
    // A popup of the modal window (a box's list, the completions of a name) would be what comes
    // back and asks for the keyboard, which a popup never takes; it closes, as a click elsewhere
    // closes it.
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close()) {
            break;
        }
    }
    mapped(modal);
    ++mapsWithoutKeyboard;
    windowBeingMappedAnew = &modal;
    modal.hide();
    modal.show();
    windowBeingMappedAnew = nullptr;
}

// Once the event being handled is over, and after `milliseconds`: the modal window comes back,
// if a window that it keeps from input still has the keyboard or that does not matter. One not on
// the screen yet, or mapped a moment ago, is waited for.
void bringBackModalWindowLater(int milliseconds, bool onlyIfOwnerHasKeyboard) {
    QTimer::singleShot(milliseconds, qApp, [onlyIfOwnerHasKeyboard] {
        QWindow* modal = QGuiApplication::modalWindow();
        const QWindow* focus = QGuiApplication::focusWindow();
        const QWidgetList windows = QApplication::topLevelWidgets();
        const bool ownerHasKeyboard =
            focus && std::any_of(windows.begin(), windows.end(), [focus](const QWidget* window) {
                return window->windowHandle() == focus && isKeptFromInput(*window);
            });
        if (!modal || (onlyIfOwnerHasKeyboard && !ownerHasKeyboard)) {
            return;
        }
        constexpr qint64 exposureMilliseconds = 50;
        const qint64 wait = !modal->isExposed()       ? exposureMilliseconds
                          : windowComingBack == modal ? mappingMilliseconds - comingBackSince.elapsed()
                                                      : 0;
        if (wait > 0) {
            bringBackModalWindowLater(int(wait), onlyIfOwnerHasKeyboard);
            return;
        }
        bringBack(*modal);
    });
}

// Watches the program's windows for what Qt tells no widget: a modal window being mapped, and a
// popup of one closed by the compositor. Sway closes a popup when it gives the keyboard to
// another window, and Qt, which takes no activation while a popup is open, goes on believing the
// modal window has it.
class ModalWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWindowType()) {
            return false;
        }
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Show && window->modality() != Qt::NonModal) {
            mapped(*window);
            // Qt's Wayland plugin tells who has the keyboard only once the compositor has
            // answered all it was asked meanwhile. When the window below is focused or clicked
            // while this one is being mapped, the keyboard goes to this one and straight back,
            // or never comes to it, and the window below keeps it as it had it before: Qt sees
            // no change and tells nothing, nor does a focus command or a click after. So once
            // the mapping is over the window comes back if the window below has the keyboard;
            // this is no polling: one look per mapping, and a few mappings at most.
            if (onWayland() && mapsWithoutKeyboard < mostMapsWithoutKeyboard) {
                bringBackModalWindowLater(0, true);
            }
        } else if (event->type() == QEvent::Close && event->spontaneous() && window->type() == Qt::Popup && onWayland()
                   && QGuiApplication::modalWindow()) {
            bringBackModalWindowLater(0, false);
        }
        return false;
    }
};

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

void watchModalWindows() {
    static QPointer<ModalWatch> watch;
    if (watch) {
        return;
    }
    watch = new ModalWatch;
    watch->setParent(qApp);
    qApp->installEventFilter(watch);
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, watch, [](const QWindow* focus) {
        if (!focus) {
            return;
        }
        if (focus == windowComingBack) {
            windowComingBack = nullptr;
            mapsWithoutKeyboard = 0;
        } else if (QGuiApplication::modalWindow()) {
            // Given to a window that a modal one keeps from input all the same (a click, the
            // compositor's focus command): the modal window comes back, as a disabled owner on
            // Windows hands its activation to its modal window. Qt tells the window's widget
            // nothing of it while a popup is open, so the window system's focus is what counts.
            bringBackModalWindowLater(0, true);
        }
    });
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
