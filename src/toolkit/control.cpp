// The root of every control: its properties, its place among its container's children, and the
// late making and the release of its Qt widget.

#include <QApplication>
#include <QPalette>
#include <QVariant>
#include <algorithm>

#include "toolkit/internal.h"
#include "toolkit/testing.h"

namespace {

// Each widget that stands for a control carries the control in this property. Releasing the
// widget clears it first, so a widget on its way out never calls back into its control.
const char* const controlProperty = controlWidgetProperty;

void bindWidget(QWidget* widget, Control* control) {
    widget->setProperty(controlProperty, QVariant::fromValue(static_cast<void*>(control)));
}

bool isInside(const Control& control, const Control* container) {
    for (const Control* ancestor = container; ancestor; ancestor = ancestor->parent()) {
        if (ancestor == &control) return true;
    }
    return false;
}

}  // namespace

Control* controlOfWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    return static_cast<Control*>(widget->property(controlProperty).value<void*>());
}

Form* formOfWidget(const QWidget* widget) { return widget ? dynamic_cast<Form*>(controlOfWidget(widget->window())) : nullptr; }

Control* controlContaining(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (Control* control = controlOfWidget(widget)) return control;
    }
    return nullptr;
}

std::vector<Control*> descendantsInAttachOrder(Control& root) {
    std::vector<Control*> found;
    std::vector<Control*> pending;
    const auto pushChildren = [&pending](Control& container) {
        const auto& children = container.children();
        for (auto child = children.rbegin(); child != children.rend(); ++child) pending.push_back(child->get());
    };
    pushChildren(root);
    while (!pending.empty()) {
        Control* next = pending.back();
        pending.pop_back();
        found.push_back(next);
        pushChildren(*next);
    }
    return found;
}

bool canTakeFocusNow(const Control& control) {
    const QWidget* widget = control.nativeWidget();
    return widget && ControlAccess::state(control).canFocus && widget->isEnabled() && widget->isVisible();
}

std::optional<QChar> mnemonicOf(const QString& text) {
    for (qsizetype index = 0; index + 1 < text.size(); ++index) {
        if (text[index] != u'&') continue;
        if (text[index + 1] != u'&') return text[index + 1].toUpper();
        ++index;
    }
    return std::nullopt;
}

QColor qColorOf(const Color& color) {
    switch (color.systemIndex) {
    case Color::NoSystemColor:
        return QColor(color.red, color.green, color.blue, color.alpha);
    case Color::WindowBackground:
        return QApplication::palette().color(QPalette::Base);
    default:
        return QApplication::palette().color(QPalette::Button);
    }
}

// ---------------------------------------------------------------------------------------------

Control::Control() : state_(std::make_unique<State>()) {}

Control::~Control() {
    releaseNative(Deletion::AtOnce);
    delete state_->retiredWidget;
}

std::string Control::text() const { return state_->text; }

void Control::setText(const std::string& text) {
    state_->text = text;
    if (created()) applyNativeText();
}

Rect Control::bounds() const {
    // A window's outer bounds are the platform's once it exists: the user may move it.
    const QWidget* widget = state_->widget;
    if (widget && widget->isWindow()) {
        const QRect frame = widget->frameGeometry();
        return {frame.x(), frame.y(), frame.width(), frame.height()};
    }
    return state_->bounds;
}

void Control::setBounds(int x, int y, int width, int height) {
    state_->bounds = {x, y, width, height};
    boundsChanged();
}

void Control::boundsChanged() {
    const Rect& bounds = state_->bounds;
    if (created()) state_->widget->setGeometry(bounds.x, bounds.y, bounds.width, bounds.height);
}

void Control::setParent(Control* container) {
    if (container == parent_) return;
    if (!container || !container->isContainer() || dynamic_cast<Form*>(this) || isInside(*this, container))
        throw ToolkitException("Invalid parent control");

    std::unique_ptr<Control> self;
    if (parent_) {
        auto& siblings = parent_->children_;
        const auto place = std::find_if(siblings.begin(), siblings.end(), [this](const auto& child) { return child.get() == this; });
        self = std::move(*place);
        siblings.erase(place);
    } else {
        self.reset(this);
    }
    parent_ = container;
    container->children_.push_back(std::move(self));

    if (!container->created()) {
        releaseNative(Deletion::Later);
    } else if (created()) {
        QWidget* widget = state_->widget;
        widget->setParent(container->nativeWidget());
        widget->lower();
        boundsChanged();
        widget->setVisible(state_->visible);
    } else {
        createNative(container->nativeWidget());
    }
}

bool Control::enabled() const { return state_->enabled; }

void Control::setEnabled(bool enabled) {
    state_->enabled = enabled;
    if (created()) applyNativeEnabled();
}

void Control::applyNativeEnabled() { state_->widget->setEnabled(state_->enabled); }

bool Control::visible() const { return created() ? !state_->widget->isHidden() : state_->visible; }

void Control::setVisible(bool visible) {
    state_->visible = visible;
    applyNativeVisible();
}

void Control::applyNativeVisible() {
    if (created())
        state_->widget->setVisible(state_->visible);
    else if (state_->visible && parent_ && parent_->created())
        createNative(parent_->nativeWidget());
}

void Control::setFont(std::shared_ptr<Font> font) {
    font_ = std::move(font);
    if (created()) state_->widget->setFont(qFontOf(font_));
}

Color Control::backgroundColor() const { return state_->backgroundColor.value_or(Color::system(Color::ButtonFace)); }

void Control::setBackgroundColor(Color color) {
    state_->backgroundColor = color;
    if (created()) applyNativeBackground();
}

void Control::applyNativeBackground() {
    if (!state_->backgroundColor) return;
    QWidget* widget = state_->widget;
    QPalette palette = widget->palette();
    const QColor color = qColorOf(*state_->backgroundColor);
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void Control::focus() {
    if (created()) state_->widget->setFocus(Qt::OtherFocusReason);
}

bool Control::focusWithin() const {
    const QWidget* widget = state_->widget;
    const QWidget* focused = QApplication::focusWidget();
    return widget && focused && (focused == widget || widget->isAncestorOf(focused));
}

void Control::destroy() {
    if (!created()) return;
    const bool wasVisible = visible();
    releaseNative(Deletion::Later);
    nativeDestroyed(wasVisible);
}

bool Control::created() const { return state_->widget != nullptr; }

Form* Control::form() {
    Control* root = this;
    while (root->parent_) root = root->parent_;
    return dynamic_cast<Form*>(root);
}

QWidget* Control::nativeWidget() const { return state_->widget; }

QWidget* Control::createNativeWidget(QWidget* parentWidget) { return new QWidget(parentWidget); }

void Control::createNative(QWidget* parentWidget) {
    ensureQtApplication();
    std::vector<std::pair<Control*, QWidget*>> pending{{this, parentWidget}};
    while (!pending.empty()) {
        auto [control, parent] = pending.back();
        pending.pop_back();
        State& state = *control->state_;
        QWidget* widget = control->createNativeWidget(parent);
        bindWidget(widget, control);
        state.widget = widget;
        widget->setFont(qFontOf(control->font_));
        control->applyNativeEnabled();
        control->applyNativeText();
        control->applyNativeBackground();
        if (parent) {
            control->boundsChanged();
            // The first child attached stays on top of those attached after it.
            widget->lower();
            widget->setVisible(state.visible);
        }
        const auto& children = control->children_;
        for (auto child = children.rbegin(); child != children.rend(); ++child) pending.emplace_back(child->get(), widget);
    }
}

void Control::releaseNative(Deletion deletion) {
    QWidget* widget = state_->widget;
    if (!widget) return;
    std::vector<Control*> released = descendantsInAttachOrder(*this);
    released.push_back(this);
    for (Control* control : released) {
        State& state = *control->state_;
        if (!state.widget) continue;
        state.widget->setProperty(controlProperty, QVariant());
        state.widget = nullptr;
    }
    if (deletion == Deletion::AtOnce) {
        delete widget;
        return;
    }
    widget->hide();
    widget->deleteLater();
    state_->retiredWidget = widget;
}
