// Forms: top-level windows with their frame and placement, and their life cycle from the widget
// made at the first showing to closing. Their modal display is modal.cpp.

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QPalette>
#include <QScreen>
#include <QWindow>

#include "accessibility_p.h"
#include "control_p.h"
#include "form_p.h"
#include "icon_p.h"
#include "style_p.h"
#include "toolkit/button.h"

namespace {

class FormWidget : public QWidget {
public:
    FormWidget() : QWidget(nullptr, Qt::Window) {
        describeAs(*this, QAccessible::Window);
        watchModalWindows();
    }

    // Run when the window is hidden, not when it is minimized.
    std::function<void()> onHidden;

    bool blocked() const { return blocked_; }

protected:
    bool event(QEvent* event) override {
        switch (event->type()) {
        // While a modal window keeps this one from input, the window takes no keyboard focus
        // either: a click on it would otherwise have Qt hand it the focus past the window
        // manager, which gives it to the modal window.
        case QEvent::WindowBlocked:
        case QEvent::WindowUnblocked:
            blocked_ = event->type() == QEvent::WindowBlocked;
            if (windowHandle()) {
                windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, blocked_);
            }
            break;
        default:
            break;
        }
        return QWidget::event(event);
    }

    // The caption's close button and the window manager's close go through the form's close
    // (a disabled form's filter has refused them before they get here). A window that a modal one
    // keeps from input refuses them as a disabled one does: the modal window's nested loop runs
    // inside one of its handlers, and closing it would destroy what that handler still uses.
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (blocked_) {
            return;
        }
        if (Form* form = formOfWidget(this)) {
            form->close();
        }
    }

    void hideEvent(QHideEvent* event) override {
        QWidget::hideEvent(event);
        // A minimized window is no hidden one, nor is one mapped anew.
        if (!isHidden() || isBeingMappedAnew(windowHandle())) {
            return;
        }
        // A window given up by its form is hidden on its way out: the form reports that itself.
        if (onHidden && controlOfWidget(this)) {
            onHidden();
        }
    }

private:
    bool blocked_ = false;
};

}  // namespace

bool isKeptFromInput(const QWidget& formWindow) {
    const auto* form = dynamic_cast<const FormWidget*>(&formWindow);
    return form && form->blocked();
}

namespace {

bool isSizable(FormBorderStyle style) {
    return style == FormBorderStyle::Sizable;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Frame and placement

Qt::WindowFlags Form::Impl::windowFlags() const {
    // A window that keeps other windows from input is a dialog to the window manager.
    Qt::WindowFlags flags = modality == Qt::NonModal ? Qt::Window : Qt::Dialog;
    if (borderStyle == FormBorderStyle::None) {
        return flags | Qt::FramelessWindowHint;
    }
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    // As on Windows, the caption has buttons only together with its system menu.
    if (!hasSystemMenu) {
        return flags;
    }
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (hasMinimizeButton) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (hasMaximizeButton && isSizable(borderStyle)) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
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

void Form::Impl::applyFrame(QWidget* widget) {
    if (!widget) {
        return;
    }
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
        if (wasVisible) {
            widget->show();
        }
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
            if (x < area.left()) {
                x = area.left();
            } else if (x + width > area.x() + area.width()) {
                x = area.x() + area.width() - width;
            }
            if (y < area.top()) {
                y = area.top();
            } else if (y + height > area.y() + area.height()) {
                y = area.y() + area.height() - height;
            }
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
        if (positionSet) {
            widget.move(boundsAsSet.x, boundsAsSet.y);
        }
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
    if (!widget) {
        return;
    }
    form.applyClientSize(*widget);
    widget->move(bounds.x, bounds.y);
}

Size Form::clientAreaSize() const {
    if (const QWidget* widget = widgetOf(*this)) {
        return {widget->width(), widget->height()};
    }
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
    if (QWidget* widget = widgetOf(*this)) {
        widget->setWindowIcon(impl_->icon ? impl_->icon->native(nativeKey).icon : QIcon());
    }
}

// ---------------------------------------------------------------------------------------------
// Life cycle: the widget made when the form is first shown, its first showing, its keys, closing

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
        if (!impl_->changingFrame) {
            impl_->reportHiddenWhileModal();
        }
    };
    widget->setWindowFlags(impl_->windowFlags());
    impl_->applyClientSize(*widget);
    if (impl_->icon) {
        widget->setWindowIcon(impl_->icon->native(nativeKey).icon);
    }
    // The platform window now, so that its frame is known when the form is placed.
    widget->winId();
    native(nativeKey).widget = widget;
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
        if (created()) {
            widgetOf(*this)->hide();
        }
        return;
    }
    if (!created()) {
        createNative();
        impl_->placeAtInitialPosition(*widgetOf(*this), boundsAsSet());
    }
    QWidget* widget = widgetOf(*this);
    // The window system takes a window's owner and modality when the window is mapped.
    if (!widget->isVisible()) {
        impl_->applyOwner(*widget);
    }
    widget->show();
    widget->activateWindow();
    QApplication::setActiveWindow(widget);
    if (impl_->loadRaised) {
        return;
    }
    impl_->loadRaised = true;
    guarded([this] { onFirstShown(); });
}

void Form::onFirstShown() {
    // Activating the window may have put the focus on its first widget already; only a focus
    // that a load handler gave is kept.
    const QWidget* focusBeforeLoad = QApplication::focusWidget();
    EventArgs args;
    load.raise(*this, args);
    if (focusWithin() && QApplication::focusWidget() != focusBeforeLoad) {
        return;
    }
    for (Control* control : descendantsInAttachOrder(*this)) {
        if (control->tabStop() && canTakeFocusNow(*control)) {
            control->focus();
            return;
        }
    }
}

void Form::nativeDestroyed(bool wasVisible) {
    if (wasVisible) {
        impl_->reportHiddenWhileModal();
    }
    guarded([this] {
        EventArgs args;
        closed.raise(*this, args);
    });
}

void Form::addKeyShortcut(KeyCode key, ShortcutHandler handler) {
    if (impl_->shortcuts.contains(key)) {
        throw ToolkitException("Shortcut key conflict");
    }
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
    if (!created()) {
        return;
    }
    CancelEventArgs args;
    bool asked = false;
    guarded([&] {
        onClosing(args);
        asked = true;
    });
    if (asked && !args.cancel) {
        destroy();
    }
}

void Form::onClosing(CancelEventArgs& args) {
    closing.raise(*this, args);
}

IButtonControl* Form::enterButton() const {
    return impl_->enterButton;
}

void Form::setEnterButton(IButtonControl* button) {
    if (impl_->enterButton) {
        impl_->enterButton->markDefault(false);
    }
    impl_->enterButton = button;
    if (button) {
        button->markDefault(true);
    }
}
