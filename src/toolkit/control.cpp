// The root of every control: its properties, its place among its container's children, and the
// late making and the release of its Qt widget.

#include <QApplication>
#include <QPalette>
#include <QVariant>
#include <QWindow>
#include <algorithm>

#include "accessibility_p.h"
#include "control_p.h"
#include "font_p.h"
#include "style_p.h"
#include "toolkit/form.h"

namespace {

// Each widget that stands for a control carries the control in this property. Releasing the
// widget clears it first, so a widget on its way out never calls back into its control.
const char* const controlProperty = "verbaroControl";

void bindWidget(QWidget* widget, Control* control) {
    widget->setProperty(controlProperty, QVariant::fromValue(static_cast<void*>(control)));
}

bool isInside(const Control& control, const Control* container) {
    for (const Control* ancestor = container; ancestor; ancestor = ancestor->parent()) {
        if (ancestor == &control) {
            return true;
        }
    }
    return false;
}

}  // namespace

QMargins frameMarginsOf(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

QRect outerBoundsOf(const QWidget& window) {
    return window.geometry().marginsAdded(frameMarginsOf(window));
}

Control* controlOfWidget(const QWidget* widget) {
    if (!widget) {
        return nullptr;
    }
    return static_cast<Control*>(widget->property(controlProperty).value<void*>());
}

Form* formOfWidget(const QWidget* widget) {
    return widget ? dynamic_cast<Form*>(controlOfWidget(widget->window())) : nullptr;
}

Control* controlContaining(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (Control* control = controlOfWidget(widget)) {
            return control;
        }
    }
    return nullptr;
}

std::vector<Control*> descendantsInAttachOrder(Control& root) {
    std::vector<Control*> found;
    std::vector<Control*> pending;
    const auto pushChildren = [&pending](Control& container) {
        const auto& children = container.children();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            pending.push_back(child->get());
        }
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
    const QWidget* widget = widgetOf(control);
    return widget && control.canFocus() && widget->isEnabled() && widget->isVisible();
}

// ---------------------------------------------------------------------------------------------

Control::Control(const Kind& kind)
    : canFocus_(kind.canFocus),
      tabStop_(kind.tabStop),
      container_(kind.container),
      bounds_(kind.defaultBounds),
      visible_(kind.initiallyVisible),
      native_(std::make_unique<Native>()) {}

Control::~Control() {
    releaseNative(Deletion::AtOnce);
    delete native_->retiredWidget;
}

std::string Control::text() const {
    return text_;
}

void Control::setText(const std::string& text) {
    text_ = text;
    if (!created()) {
        return;
    }
    applyNativeText();
    showAccessibleText(*this);
}

Rect Control::bounds() const {
    // A window's outer bounds are the platform's once it exists: the user may move it.
    const QWidget* widget = native_->widget;
    if (widget && widget->isWindow()) {
        const QRect frame = outerBoundsOf(*widget);
        return {frame.x(), frame.y(), frame.width(), frame.height()};
    }
    return bounds_;
}

void Control::setBounds(int x, int y, int width, int height) {
    bounds_ = {x, y, width, height};
    boundsChanged();
}

void Control::boundsChanged() {
    if (created()) {
        native_->widget->setGeometry(bounds_.x, bounds_.y, bounds_.width, bounds_.height);
    }
}

void Control::setParent(Control* container) {
    if (container == parent_) {
        return;
    }
    if (!container || !container->container_ || dynamic_cast<Form*>(this) || isInside(*this, container)) {
        throw ToolkitException("Invalid parent control");
    }

    std::unique_ptr<Control> self;
    if (parent_) {
        auto& siblings = parent_->children_;
        const auto place =
            std::find_if(siblings.begin(), siblings.end(), [this](const auto& child) { return child.get() == this; });
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
        QWidget* widget = native_->widget;
        widget->setParent(widgetOf(container));
        widget->lower();
        boundsChanged();
        widget->setVisible(visible_);
    } else {
        createNative();
    }
}

void Control::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (created()) {
        applyNativeEnabled();
    }
}

void Control::applyNativeEnabled() {
    native_->widget->setEnabled(enabled_);
}

bool Control::visible() const {
    return created() ? !native_->widget->isHidden() : visible_;
}

void Control::setVisible(bool visible) {
    visible_ = visible;
    applyNativeVisible(visible);
}

void Control::applyNativeVisible(bool visible) {
    if (created()) {
        native_->widget->setVisible(visible);
    } else if (visible && parent_ && parent_->created()) {
        createNative();
    }
}

void Control::setFont(std::shared_ptr<Font> font) {
    font_ = std::move(font);
    if (created()) {
        native_->widget->setFont(qFontOf(font_));
    }
}

Color Control::backgroundColor() const {
    return backgroundColor_.value_or(Color::system(Color::ButtonFace));
}

void Control::setBackgroundColor(Color color) {
    backgroundColor_ = color;
    if (created()) {
        applyNativeBackground();
    }
}

void Control::applyNativeBackground() {
    if (!backgroundColor_) {
        return;
    }
    QWidget* widget = native_->widget;
    setBackground(*widget, *backgroundColor_, {QPalette::Window, QPalette::Button},
                  {QPalette::WindowText, QPalette::ButtonText});
    widget->setAutoFillBackground(true);
}

void Control::setAccessibleName(const std::string& name) {
    accessibleName_ = name;
    showAccessibleText(*this);
}

// A description given again is announced again: the word on show may come twice in a row.
void Control::setAccessibleDescription(const std::string& description) {
    const bool unchanged = description == accessibleDescription_;
    accessibleDescription_ = description;
    if (unchanged) {
        announceAccessibleDescription(*this);
    } else {
        showAccessibleText(*this);
    }
}

void Control::setLabelledBy(Control* caption) {
    labelledBy_ = caption;
    showAccessibleText(*this);
}

void Control::focus() {
    if (created()) {
        native_->widget->setFocus(Qt::OtherFocusReason);
    }
}

bool Control::focusWithin() const {
    const QWidget* widget = native_->widget;
    const QWidget* focused = QApplication::focusWidget();
    return widget && focused && (focused == widget || widget->isAncestorOf(focused));
}

void Control::destroy() {
    if (!created()) {
        return;
    }
    const bool wasVisible = visible();
    releaseNative(Deletion::Later);
    nativeDestroyed(wasVisible);
}

bool Control::created() const {
    return native_->widget != nullptr;
}

Form* Control::form() {
    Control* root = this;
    while (root->parent_) {
        root = root->parent_;
    }
    return dynamic_cast<Form*>(root);
}

void Control::createNativeWidget() {
    native_->widget = new QWidget(widgetOf(parent_));
}

void Control::createNative() {
    ensureQtApplication();
    // Each widget is made inside its container's, made just before it.
    std::vector<Control*> pending{this};
    while (!pending.empty()) {
        Control* control = pending.back();
        pending.pop_back();
        control->createNativeWidget();
        QWidget* widget = control->native_->widget;
        bindWidget(widget, control);
        widget->setFont(qFontOf(control->font_));
        control->applyNativeEnabled();
        control->applyNativeText();
        control->applyNativeBackground();
        showAccessibleText(*control);
        if (control->parent_) {
            control->boundsChanged();
            // The first child attached stays on top of those attached after it.
            widget->lower();
            widget->setVisible(control->visible_);
        }
        const auto& children = control->children_;
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            pending.push_back(child->get());
        }
    }
}

void Control::releaseNative(Deletion deletion) {
    QWidget* widget = native_->widget;
    if (!widget) {
        return;
    }
    std::vector<Control*> released = descendantsInAttachOrder(*this);
    released.push_back(this);
    for (Control* control : released) {
        Native& native = *control->native_;
        if (!native.widget) {
            continue;
        }
        native.widget->setProperty(controlProperty, QVariant());
        native.widget = nullptr;
    }
    if (deletion == Deletion::AtOnce) {
        delete widget;
        return;
    }
    widget->hide();
    widget->deleteLater();
    native_->retiredWidget = widget;
}
