// Push buttons, check boxes and radio buttons.

#include <QCheckBox>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>

#include "accessibility_p.h"
#include "control_p.h"
#include "platform_p.h"
#include "toolkit/button.h"

namespace {

class PushButtonWidget : public QPushButton {
public:
    explicit PushButtonWidget(QWidget* parent) : QPushButton(parent) {}

    void setMarkedDefault(bool marked) {
        marked_ = marked;
        applyDefaultLook();
    }

protected:
    void changeEvent(QEvent* event) override {
        QPushButton::changeEvent(event);
        if (event->type() == QEvent::EnabledChange) {
            applyDefaultLook();
        }
    }

private:
    // The default look only while the button itself is enabled (a disabled window around it
    // does not count).
    void applyDefaultLook() { setDefault(marked_ && !testAttribute(Qt::WA_ForceDisabled)); }

    bool marked_ = false;
};

// A radio button that a click only ever checks, and that unchecks no other by itself: the
// toolkit does that for the user's clicks only. Qt would take it for a check box.
class RadioButtonWidget : public QRadioButton {
public:
    explicit RadioButtonWidget(QWidget* parent) : QRadioButton(parent) {
        setAutoExclusive(false);
        describeAs(*this, QAccessible::RadioButton);
    }

protected:
    void nextCheckState() override { setChecked(true); }
};

void uncheckSiblings(RadioButton& checked) {
    if (!checked.parent()) {
        return;
    }
    for (const auto& sibling : checked.parent()->children()) {
        auto* radio = dynamic_cast<RadioButton*>(sibling.get());
        if (radio && radio != &checked) {
            radio->setChecked(false);
        }
    }
}

// Qt has changed the checked state already when it reports the click.
void raiseUserClick(Control& control) {
    if (auto* radio = dynamic_cast<RadioButton*>(&control)) {
        uncheckSiblings(*radio);
    }
    guarded([&control] {
        EventArgs args;
        control.click.raise(control, args);
    });
}

template <class Widget>
Widget* makeButtonWidget(QWidget* parent) {
    auto* widget = new Widget(parent);
    QObject::connect(widget, &QAbstractButton::clicked, widget, [widget] {
        if (Control* control = controlOfWidget(widget)) {
            raiseUserClick(*control);
        }
    });
    return widget;
}

QAbstractButton* buttonWidgetOf(Control& control) {
    return static_cast<QAbstractButton*>(widgetOf(control));
}
const QAbstractButton* buttonWidgetOf(const Control& control) {
    return static_cast<const QAbstractButton*>(widgetOf(control));
}

}  // namespace

void ButtonBase::applyNativeText() {
    buttonWidgetOf(*this)->setText(toQString(text()));
}

Button::Button() : ButtonBase(Kind{.defaultBounds = {0, 0, 75, 23}, .canFocus = true, .tabStop = true}) {}

void Button::createNativeWidget() {
    auto* widget = makeButtonWidget<PushButtonWidget>(widgetOf(parent()));
    widget->setMarkedDefault(markedDefault_);
    native(nativeKey).widget = widget;
}

void Button::simulateClick() {
    if (!created() || !enabled() || !visible()) {
        return;
    }
    guarded([this] {
        EventArgs args;
        click.raise(*this, args);
    });
}

void Button::markDefault(bool isDefault) {
    markedDefault_ = isDefault;
    if (created()) {
        static_cast<PushButtonWidget*>(widgetOf(*this))->setMarkedDefault(isDefault);
    }
}

bool CheckableButton::checked() const {
    return created() ? buttonWidgetOf(*this)->isChecked() : checked_;
}

void CheckableButton::setChecked(bool checked) {
    checked_ = checked;
    if (created()) {
        buttonWidgetOf(*this)->setChecked(checked);
    }
}

void CheckableButton::followChecked() {
    QAbstractButton* widget = buttonWidgetOf(*this);
    widget->setChecked(checked_);
    QObject::connect(widget, &QAbstractButton::toggled, widget, [this](bool on) { checked_ = on; });
}

CheckBox::CheckBox() : CheckableButton(Kind{.defaultBounds = {0, 0, 104, 24}, .canFocus = true, .tabStop = true}) {}

void CheckBox::createNativeWidget() {
    native(nativeKey).widget = makeButtonWidget<QCheckBox>(widgetOf(parent()));
    followChecked();
}

// Reached by the arrow keys and the mouse, not by Tab.
RadioButton::RadioButton() : CheckableButton(Kind{.defaultBounds = {0, 0, 104, 24}, .canFocus = true}) {}

void RadioButton::createNativeWidget() {
    auto* widget = makeButtonWidget<RadioButtonWidget>(widgetOf(parent()));
    widget->setFocusPolicy(Qt::ClickFocus);
    native(nativeKey).widget = widget;
    followChecked();
}
