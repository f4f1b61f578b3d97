// Forms: top-level windows with their frame, placement, closing and first showing.

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QPalette>
#include <QScreen>
#include <QWindow>

#include "toolkit/internal.h"

namespace {

class FormWidget : public QWidget {
public:
    FormWidget() : QWidget(nullptr, Qt::Window) {}

protected:
    // While a modal window keeps this one from input, the window takes no keyboard focus either:
    // a click on it would otherwise have Qt hand it the focus past the window manager, which
    // gives it to the modal window.
    bool event(QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type == QEvent::WindowBlocked || type == QEvent::WindowUnblocked) && windowHandle())
            windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, type == QEvent::WindowBlocked);
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
        // A minimized window is no hidden one.
        if (!isHidden()) return;
        Form* form = formOfWidget(this);
        if (!form) return;
        const FormAccess::State& state = FormAccess::state(*form);
        if (state.shownModally && !state.changingFrame && state.hiddenWhileModal) state.hiddenWhileModal();
    }
};

bool isSizable(FormBorderStyle style) { return style == FormBorderStyle::Sizable; }

Qt::WindowFlags windowFlagsOf(const FormAccess::State& state) {
    // A window that keeps other windows from input is a dialog to the window manager.
    Qt::WindowFlags flags = state.modality == Qt::NonModal ? Qt::Window : Qt::Dialog;
    if (state.borderStyle == FormBorderStyle::None) return flags | Qt::FramelessWindowHint;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    // As on Windows, the caption has buttons only together with its system menu.
    if (!state.hasSystemMenu) return flags;
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (state.hasMinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
    if (state.hasMaximizeButton && isSizable(state.borderStyle)) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

void applyClientSize(QWidget& widget, const FormAccess::State& state) {
    const QSize size(std::max(0, state.clientSize.width), std::max(0, state.clientSize.height));
    if (isSizable(state.borderStyle)) {
        widget.setMinimumSize(0, 0);
        widget.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        widget.resize(size);
    } else {
        widget.setFixedSize(size);
    }
}

}  // namespace

Form::FormState& FormAccess::state(Form& form) { return *form.formState_; }

Form::Form() : formState_(std::make_unique<FormState>()) {
    ControlAccess::state(*this).visible = false;
    ControlAccess::state(*this).bounds = {0, 0, formState_->clientSize.width, formState_->clientSize.height};
    formState_->keyFilter = makeFormKeyFilter(*this);
    Application::addMessageFilter(formState_->keyFilter.get());
}

Form::~Form() { Application::removeMessageFilter(formState_->keyFilter.get()); }

QWidget* Form::createNativeWidget(QWidget* /*parentWidget*/) {
    auto* widget = new FormWidget;
    widget->setWindowFlags(windowFlagsOf(*formState_));
    applyClientSize(*widget, *formState_);
    if (formState_->icon) widget->setWindowIcon(formState_->icon->native().icon);
    // The platform window now, so that its frame is known when the form is placed.
    widget->winId();
    return widget;
}

void Form::applyNativeText() { nativeWidget()->setWindowTitle(toQString(ControlAccess::state(*this).text)); }

void Form::applyNativeBackground() {
    QWidget* widget = nativeWidget();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, qColorOf(backgroundColor()));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void Form::applyNativeVisible() {
    FormState& form = *formState_;
    if (!ControlAccess::state(*this).visible) {
        if (created()) nativeWidget()->hide();
        return;
    }
    if (!created()) {
        createNative(nullptr);
        placeAtInitialPosition();
    }
    QWidget* widget = nativeWidget();
    // The window system takes a window's owner and modality when the window is mapped.
    if (!widget->isVisible()) applyNativeOwner();
    widget->show();
    widget->activateWindow();
    QApplication::setActiveWindow(widget);
    if (form.loadRaised) return;
    form.loadRaised = true;
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
        if (ControlAccess::state(*control).tabStop && canTakeFocusNow(*control)) {
            control->focus();
            return;
        }
    }
}

void Form::placeAtInitialPosition() {
    const FormState& form = *formState_;
    QWidget* widget = nativeWidget();
    const QRect frame = widget->frameGeometry();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const int width = frame.width();
    const int height = frame.height();
    switch (form.initialPosition) {
    case FormStartPosition::CenterOnOwner:
        if (form.owner && form.owner->visible()) {
            const Rect owner = form.owner->bounds();
            int x = owner.x + (owner.width - width) / 2;
            int y = owner.y + (owner.height - height) / 2;
            if (x < area.left())
                x = area.left();
            else if (x + width > area.x() + area.width())
                x = area.x() + area.width() - width;
            if (y < area.top())
                y = area.top();
            else if (y + height > area.y() + area.height())
                y = area.y() + area.height() - height;
            widget->move(x, y);
            return;
        }
        [[fallthrough]];
    case FormStartPosition::CenterOnScreen:
        widget->move(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2);
        return;
    case FormStartPosition::DefaultLocation:
        if (form.positionSet) widget->move(ControlAccess::state(*this).bounds.x, ControlAccess::state(*this).bounds.y);
        return;
    }
}

void Form::boundsChanged() {
    FormState& form = *formState_;
    const Rect& bounds = ControlAccess::state(*this).bounds;
    form.positionSet = true;
    QWidget* widget = nativeWidget();
    const QSize frameExtra = widget ? widget->frameGeometry().size() - widget->size() : QSize(0, 0);
    form.clientSize = {bounds.width - frameExtra.width(), bounds.height - frameExtra.height()};
    if (!widget) return;
    applyClientSize(*widget, form);
    widget->move(bounds.x, bounds.y);
}

void Form::nativeDestroyed(bool wasVisible) {
    const FormState& form = *formState_;
    if (wasVisible && form.shownModally && form.hiddenWhileModal) form.hiddenWhileModal();
    guarded([this] {
        EventArgs args;
        closed.raise(*this, args);
    });
}

Size Form::clientAreaSize() const {
    if (const QWidget* widget = nativeWidget()) return {widget->width(), widget->height()};
    return formState_->clientSize;
}

void Form::setClientAreaSize(int width, int height) {
    formState_->clientSize = {width, height};
    if (QWidget* widget = nativeWidget()) {
        applyClientSize(*widget, *formState_);
        return;
    }
    Rect& bounds = ControlAccess::state(*this).bounds;
    bounds.width = width;
    bounds.height = height;
}

void Form::applyNativeFrame() {
    QWidget* widget = nativeWidget();
    if (!widget) return;
    FormState& form = *formState_;
    // The size the user may have given a sizable window is kept.
    form.clientSize = {widget->width(), widget->height()};
    const Qt::WindowFlags flags = windowFlagsOf(form);
    if (widget->windowFlags() != flags) {
        // Qt hides a window whose flags change; it comes back where it was.
        const bool wasVisible = widget->isVisible();
        const QPoint position = widget->pos();
        form.changingFrame = true;
        widget->setWindowFlags(flags);
        widget->move(position);
        if (wasVisible) widget->show();
        form.changingFrame = false;
    }
    applyClientSize(*widget, form);
}

// Transient for its owner and modal in the window system's sense, a window is kept above the owner
// by every window manager, and a click on the owner gives the window the keyboard instead; Qt
// passes the owner no input meanwhile either.
void Form::applyNativeOwner() {
    const FormState& form = *formState_;
    QWidget* widget = nativeWidget();
    applyNativeFrame();
    widget->setWindowModality(form.modality);
    const QWidget* owner = form.modality == Qt::NonModal ? nullptr : form.ownerWindow.data();
    widget->windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
}

FormBorderStyle Form::borderStyle() const { return formState_->borderStyle; }

void Form::setBorderStyle(FormBorderStyle style) {
    formState_->borderStyle = style;
    applyNativeFrame();
}

bool Form::hasMaximizeButton() const { return formState_->hasMaximizeButton; }

void Form::setHasMaximizeButton(bool has) {
    formState_->hasMaximizeButton = has;
    applyNativeFrame();
}

bool Form::hasMinimizeButton() const { return formState_->hasMinimizeButton; }

void Form::setHasMinimizeButton(bool has) {
    formState_->hasMinimizeButton = has;
    applyNativeFrame();
}

bool Form::hasSystemMenu() const { return formState_->hasSystemMenu; }

void Form::setHasSystemMenu(bool has) {
    formState_->hasSystemMenu = has;
    applyNativeFrame();
}

FormStartPosition Form::initialPosition() const { return formState_->initialPosition; }

void Form::setInitialPosition(FormStartPosition position) { formState_->initialPosition = position; }

const std::shared_ptr<Icon>& Form::icon() const { return formState_->icon; }

void Form::setIcon(std::shared_ptr<Icon> icon) {
    formState_->icon = std::move(icon);
    if (QWidget* widget = nativeWidget()) widget->setWindowIcon(formState_->icon ? formState_->icon->native().icon : QIcon());
}

void Form::addKeyShortcut(KeyCode key, ShortcutHandler handler) {
    if (formState_->shortcuts.contains(key)) throw ToolkitException("Shortcut key conflict");
    formState_->shortcuts.emplace(key, std::move(handler));
}

void Form::close() {
    if (formState_->shownModally) {
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

void Form::onClosing(CancelEventArgs& args) { closing.raise(*this, args); }

IButtonControl* Form::enterButton() const { return formState_->enterButton; }

void Form::setEnterButton(IButtonControl* button) {
    if (formState_->enterButton) formState_->enterButton->markDefault(false);
    formState_->enterButton = button;
    if (button) button->markDefault(true);
}

DialogResult Form::dialogResult() const { return formState_->dialogResult; }

void Form::setDialogResult(DialogResult result) { formState_->dialogResult = result; }

Form* Form::owner() const { return formState_->owner; }
