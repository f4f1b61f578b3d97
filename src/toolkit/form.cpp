// Forms: top-level windows with their frame, placement, closing and first showing.

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "toolkit/internal.h"
#include "toolkit/messageloop.h"

// Everything a form keeps beyond what every control keeps.
struct Form::Impl {
    // While the form is shown modally (set and cleared by showModal):
    Form* owner = nullptr;  // the form of the owner window, if it has one
    bool shownModally = false;
    DialogResult dialogResult = DialogResult::None;
    // Called the moment the form is hidden during a modal display, so that the owner is
    // re-enabled and activated right then.
    std::function<void()> hiddenWhileModal;
    // While the form is up over other windows (a modal display, the error dialog): whose input
    // it withholds in the window system's sense, and the window it stays above. Applied each
    // time the form is shown.
    Qt::WindowModality modality = Qt::NonModal;
    QPointer<QWidget> ownerWindow;

    // The window's frame and placement.
    Size clientSize{300, 300};
    FormBorderStyle borderStyle = FormBorderStyle::Sizable;
    bool hasMaximizeButton = true;
    bool hasMinimizeButton = true;
    bool hasSystemMenu = true;
    FormStartPosition initialPosition = FormStartPosition::DefaultLocation;
    // A position given with setBounds; without one the platform places the window.
    bool positionSet = false;
    std::shared_ptr<Icon> icon;

    ShortcutMap shortcuts;
    IButtonControl* enterButton = nullptr;
    std::unique_ptr<MessageFilter> keyFilter;
    bool loadRaised = false;
    // Set while the window flags are replaced: Qt hides the window for that, which is no hiding.
    bool changingFrame = false;

    // Reported once the form is hidden or destroyed while shown modally.
    void reportHiddenWhileModal() const {
        if (shownModally && hiddenWhileModal) hiddenWhileModal();
    }

    // The window flags and size limits that the border style and caption buttons ask for.
    Qt::WindowFlags windowFlags() const;
    void applyClientSize(QWidget& widget) const;
    void applyFrame(QWidget* widget);
    // The window the form stays above and whose input it withholds, for the window system.
    void applyOwner(QWidget& widget);
    void placeAtInitialPosition(QWidget& widget, const Rect& boundsAsSet) const;
};

namespace {

// The window being mapped anew to bring it back to the user (see bringBack): its hiding on the
// way is no hiding to its form.
QPointer<QWindow> windowBeingMappedAnew;
// A modal window mapped anew that has not had the keyboard since. Unmapping it gave the keyboard
// to the window below for a moment: that activation was the compositor's, not the user's.
QPointer<QWindow> windowComingBack;

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
    if (windowComingBack == &modal) return;
    static const QMetaObject::Connection arrived =
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, [](const QWindow* focus) {
            if (focus && focus == windowComingBack) windowComingBack = nullptr;
        });
    windowComingBack = &modal;
    windowBeingMappedAnew = &modal;
    modal.hide();
    modal.show();
    windowBeingMappedAnew = nullptr;
}

class FormWidget : public QWidget {
public:
    FormWidget() : QWidget(nullptr, Qt::Window) { describeAs(*this, QAccessible::Window); }

    // Run when the window is hidden, not when it is minimized.
    std::function<void()> onHidden;

protected:
    bool event(QEvent* event) override {
        switch (event->type()) {
        // While a modal window keeps this one from input, the window takes no keyboard focus
        // either: a click on it would otherwise have Qt hand it the focus past the window
        // manager, which gives it to the modal window.
        case QEvent::WindowBlocked:
        case QEvent::WindowUnblocked:
            blocked_ = event->type() == QEvent::WindowBlocked;
            if (windowHandle()) windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, blocked_);
            break;
        // Activated all the same (a click, the compositor's focus command): the modal window
        // comes back, as a disabled owner on Windows hands its activation to its modal window.
        // Once the activation is over, and only if it still holds.
        case QEvent::WindowActivate:
            if (blocked_) {
                QTimer::singleShot(0, this, [this] {
                    QWindow* modal = QGuiApplication::modalWindow();
                    if (blocked_ && isActiveWindow() && modal && modal->isExposed()) bringBack(*modal);
                });
            }
            break;
        default:
            break;
        }
        return QWidget::event(event);
    }

    // The caption's close button and the window manager's close go through the form's close
    // (a disabled form's filter has refused them before they get here).
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (Form* form = formOfWidget(this)) form->close();
    }

    void hideEvent(QHideEvent* event) override {
        QWidget::hideEvent(event);
        // A minimized window is no hidden one, nor is one mapped anew.
        if (!isHidden() || windowHandle() == windowBeingMappedAnew) return;
        // A window given up by its form is hidden on its way out: the form reports that itself.
        if (onHidden && controlOfWidget(this)) onHidden();
    }

private:
    bool blocked_ = false;
};

bool isSizable(FormBorderStyle style) {
    return style == FormBorderStyle::Sizable;
}

// The window a modal form disables while it is up: a toolkit form's through the toolkit, so that
// it takes no input yet keeps its look, any other through Qt.
class DisabledOwner {
public:
    DisabledOwner(QWidget* window, Form* form) : window_(window), form_(form) {
        if (!window_ || !(form_ ? form_->enabled() : window_->isEnabled())) return;
        setOwnerEnabled(false);
        disabled_ = true;
    }
    ~DisabledOwner() { restore(); }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

    // Re-enables and activates the owner, once, if this display disabled it.
    void restore() {
        if (!disabled_) return;
        disabled_ = false;
        if (!window_) return;
        setOwnerEnabled(true);
        window_->activateWindow();
    }

private:
    void setOwnerEnabled(bool enabled) {
        if (form_)
            form_->setEnabled(enabled);
        else
            window_->setEnabled(enabled);
    }

    QPointer<QWidget> window_;
    Form* form_;
    bool disabled_ = false;
};

}  // namespace

Qt::WindowFlags Form::Impl::windowFlags() const {
    // A window that keeps other windows from input is a dialog to the window manager.
    Qt::WindowFlags flags = modality == Qt::NonModal ? Qt::Window : Qt::Dialog;
    if (borderStyle == FormBorderStyle::None) return flags | Qt::FramelessWindowHint;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    // As on Windows, the caption has buttons only together with its system menu.
    if (!hasSystemMenu) return flags;
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (hasMinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
    if (hasMaximizeButton && isSizable(borderStyle)) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

void Form::Impl::applyClientSize(QWidget& widget) const {
    const QSize size(std::max(0, clientSize.width), std::max(0, clientSize.height));
    if (isSizable(borderStyle)) {
        widget.setMinimumSize(0, 0);
        widget.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        widget.resize(size);
    } else {
        widget.setFixedSize(size);
    }
}

Form::Form()
    : ContainerControl(Kind{.defaultBounds = {0, 0, 300, 300}, .container = true, .initiallyVisible = false}),
      impl_(std::make_unique<Impl>()) {
    impl_->keyFilter = makeFormKeyFilter(*this, impl_->shortcuts);
    Application::addMessageFilter(impl_->keyFilter.get());
}

Form::~Form() {
    Application::removeMessageFilter(impl_->keyFilter.get());
}

void Form::createNativeWidget() {
    auto* widget = new FormWidget;
    widget->onHidden = [this] {
        if (!impl_->changingFrame) impl_->reportHiddenWhileModal();
    };
    widget->setWindowFlags(impl_->windowFlags());
    impl_->applyClientSize(*widget);
    if (impl_->icon) widget->setWindowIcon(impl_->icon->native().icon);
    // The platform window now, so that its frame is known when the form is placed.
    widget->winId();
    native().widget = widget;
}

// The caption as set: a form whose text() says something else (the error dialog's) keeps it.
void Form::applyNativeText() {
    widgetOf(*this)->setWindowTitle(toQString(Control::text()));
}

void Form::applyNativeBackground() {
    QWidget* widget = widgetOf(*this);
    setBackground(*widget, backgroundColor(), {QPalette::Window}, {QPalette::WindowText});
    widget->setAutoFillBackground(true);
}

void Form::applyNativeVisible(bool visible) {
    if (!visible) {
        if (created()) widgetOf(*this)->hide();
        return;
    }
    if (!created()) {
        createNative();
        impl_->placeAtInitialPosition(*widgetOf(*this), boundsAsSet());
    }
    QWidget* widget = widgetOf(*this);
    // The window system takes a window's owner and modality when the window is mapped.
    if (!widget->isVisible()) impl_->applyOwner(*widget);
    widget->show();
    widget->activateWindow();
    QApplication::setActiveWindow(widget);
    if (impl_->loadRaised) return;
    impl_->loadRaised = true;
    guarded([this] { onFirstShown(); });
}

void Form::onFirstShown() {
    // Activating the window may have put the focus on its first widget already; only a focus
    // that a load handler gave is kept.
    const QWidget* focusBeforeLoad = QApplication::focusWidget();
    EventArgs args;
    load.raise(*this, args);
    if (focusWithin() && QApplication::focusWidget() != focusBeforeLoad) return;
    for (Control* control : descendantsInAttachOrder(*this)) {
        if (control->tabStop() && canTakeFocusNow(*control)) {
            control->focus();
            return;
        }
    }
}

void Form::Impl::placeAtInitialPosition(QWidget& widget, const Rect& boundsAsSet) const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    switch (initialPosition) {
    case FormStartPosition::CenterOnOwner:
        if (owner && owner->visible()) {
            // The window manager frames the form only once it is shown; until then the form is
            // taken to get the frame its owner has. Its window is placed by its client area, so
            // that the frame lands where it is meant to be.
            const QMargins frame = frameMarginsOf(*widgetOf(*owner));
            const int width = widget.width() + frame.left() + frame.right();
            const int height = widget.height() + frame.top() + frame.bottom();
            const Rect over = owner->bounds();
            int x = over.x + (over.width - width) / 2;
            int y = over.y + (over.height - height) / 2;
            if (x < area.left())
                x = area.left();
            else if (x + width > area.x() + area.width())
                x = area.x() + area.width() - width;
            if (y < area.top())
                y = area.top();
            else if (y + height > area.y() + area.height())
                y = area.y() + area.height() - height;
            widget.setGeometry(x + frame.left(), y + frame.top(), widget.width(), widget.height());
            return;
        }
        [[fallthrough]];
    case FormStartPosition::CenterOnScreen: {
        const QRect outer = widget.frameGeometry();
        widget.move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
        return;
    }
    case FormStartPosition::DefaultLocation:
        if (positionSet) widget.move(boundsAsSet.x, boundsAsSet.y);
        return;
    }
}

void Form::boundsChanged() {
    Impl& form = *impl_;
    const Rect& bounds = boundsAsSet();
    form.positionSet = true;
    QWidget* widget = widgetOf(*this);
    const QMargins frame = widget ? frameMarginsOf(*widget) : QMargins();
    form.clientSize = {bounds.width - frame.left() - frame.right(), bounds.height - frame.top() - frame.bottom()};
    if (!widget) return;
    form.applyClientSize(*widget);
    widget->move(bounds.x, bounds.y);
}

void Form::nativeDestroyed(bool wasVisible) {
    if (wasVisible) impl_->reportHiddenWhileModal();
    guarded([this] {
        EventArgs args;
        closed.raise(*this, args);
    });
}

Size Form::clientAreaSize() const {
    if (const QWidget* widget = widgetOf(*this)) return {widget->width(), widget->height()};
    return impl_->clientSize;
}

void Form::setClientAreaSize(int width, int height) {
    impl_->clientSize = {width, height};
    if (QWidget* widget = widgetOf(*this)) {
        impl_->applyClientSize(*widget);
        return;
    }
    const Rect& bounds = boundsAsSet();
    keepBounds({bounds.x, bounds.y, width, height});
}

void Form::Impl::applyFrame(QWidget* widget) {
    if (!widget) return;
    // The size the user may have given a sizable window is kept.
    clientSize = {widget->width(), widget->height()};
    const Qt::WindowFlags flags = windowFlags();
    if (widget->windowFlags() != flags) {
        // Qt hides a window whose flags change; it comes back where it was.
        const bool wasVisible = widget->isVisible();
        const QPoint position = widget->pos();
        changingFrame = true;
        widget->setWindowFlags(flags);
        widget->move(position);
        if (wasVisible) widget->show();
        changingFrame = false;
    }
    applyClientSize(*widget);
}

// Transient for its owner and modal in the window system's sense, a window is kept above the owner
// by every window manager, and a click on the owner gives the window the keyboard instead; Qt
// passes the owner no input meanwhile either.
void Form::Impl::applyOwner(QWidget& widget) {
    applyFrame(&widget);
    widget.setWindowModality(modality);
    const QWidget* ownerWidget = modality == Qt::NonModal ? nullptr : ownerWindow.data();
    widget.windowHandle()->setTransientParent(ownerWidget ? ownerWidget->windowHandle() : nullptr);
}

FormBorderStyle Form::borderStyle() const {
    return impl_->borderStyle;
}

void Form::setBorderStyle(FormBorderStyle style) {
    impl_->borderStyle = style;
    impl_->applyFrame(widgetOf(*this));
}

bool Form::hasMaximizeButton() const {
    return impl_->hasMaximizeButton;
}

void Form::setHasMaximizeButton(bool has) {
    impl_->hasMaximizeButton = has;
    impl_->applyFrame(widgetOf(*this));
}

bool Form::hasMinimizeButton() const {
    return impl_->hasMinimizeButton;
}

void Form::setHasMinimizeButton(bool has) {
    impl_->hasMinimizeButton = has;
    impl_->applyFrame(widgetOf(*this));
}

bool Form::hasSystemMenu() const {
    return impl_->hasSystemMenu;
}

void Form::setHasSystemMenu(bool has) {
    impl_->hasSystemMenu = has;
    impl_->applyFrame(widgetOf(*this));
}

FormStartPosition Form::initialPosition() const {
    return impl_->initialPosition;
}

void Form::setInitialPosition(FormStartPosition position) {
    impl_->initialPosition = position;
}

const std::shared_ptr<Icon>& Form::icon() const {
    return impl_->icon;
}

void Form::setIcon(std::shared_ptr<Icon> icon) {
    impl_->icon = std::move(icon);
    if (QWidget* widget = widgetOf(*this)) widget->setWindowIcon(impl_->icon ? impl_->icon->native().icon : QIcon());
}

void Form::addKeyShortcut(KeyCode key, ShortcutHandler handler) {
    if (impl_->shortcuts.contains(key)) throw ToolkitException("Shortcut key conflict");
    impl_->shortcuts.emplace(key, std::move(handler));
}

void Form::close() {
    if (impl_->shownModally) {
        setVisible(false);
        guarded([this] {
            EventArgs args;
            closed.raise(*this, args);
        });
        return;
    }
    if (!created()) return;
    CancelEventArgs args;
    bool asked = false;
    guarded([&] {
        onClosing(args);
        asked = true;
    });
    if (asked && !args.cancel) destroy();
}

void Form::onClosing(CancelEventArgs& args) {
    closing.raise(*this, args);
}

IButtonControl* Form::enterButton() const {
    return impl_->enterButton;
}

void Form::setEnterButton(IButtonControl* button) {
    if (impl_->enterButton) impl_->enterButton->markDefault(false);
    impl_->enterButton = button;
    if (button) button->markDefault(true);
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
    if (ownerWindow && ownerWindow == widgetOf(*this)) ownerWindow = nullptr;
    if (!enabled() || (created() && widgetOf(*this)->isVisible()) || (ownerWindow && !ownerWindow->isWindow()))
        throw ToolkitException("Unable to show dialog");

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
