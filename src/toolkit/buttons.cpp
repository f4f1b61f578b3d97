// Push buttons, check boxes, radio buttons and group boxes.

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "toolkit/internal.h"

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
        if (event->type() == QEvent::EnabledChange) applyDefaultLook();
    }

private:
    // The default look only while the button itself is enabled (a disabled window around it
    // does not count).
    void applyDefaultLook() { setDefault(marked_ && !testAttribute(Qt::WA_ForceDisabled)); }

    bool marked_ = false;
};

// A radio button that a click only ever checks, and that unchecks no other by itself: the
// toolkit does that for the user's clicks only.
class RadioButtonWidget : public QRadioButton {
public:
    explicit RadioButtonWidget(QWidget* parent) : QRadioButton(parent) { setAutoExclusive(false); }

protected:
    void nextCheckState() override { setChecked(true); }
};

// An etched frame with the caption standing in its top edge, as on Windows (Qt's styles put
// the caption above a faint frame).
class GroupBoxWidget : public QGroupBox {
public:
    explicit GroupBoxWidget(QWidget* parent) : QGroupBox(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine;
        const QRect caption = title().isEmpty() ? QRect()
                                                : style()->itemTextRect(metrics, QRect(8, 0, width() - 16, metrics.height()), flags,
                                                                        isEnabled(), title());
        const int top = metrics.height() / 2;
        const QRect edge(0, top, width() - 2, height() - top - 2);
        painter.setClipRegion(QRegion(rect()).subtracted(caption.adjusted(-2, 0, 2, 0)));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(edge);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(edge.translated(1, 1));
        painter.setClipping(false);
        if (!caption.isEmpty()) style()->drawItemText(&painter, caption, flags, palette(), isEnabled(), title(), QPalette::WindowText);
    }
};

void uncheckSiblings(RadioButton& checked) {
    if (!checked.parent()) return;
    for (const auto& sibling : checked.parent()->children()) {
        auto* radio = dynamic_cast<RadioButton*>(sibling.get());
        if (radio && radio != &checked) radio->setChecked(false);
    }
}

// Qt has changed the checked state already when it reports the click.
void raiseUserClick(Control& control) {
    if (auto* radio = dynamic_cast<RadioButton*>(&control)) uncheckSiblings(*radio);
    guarded([&control] {
        EventArgs args;
        control.click.raise(control, args);
    });
}

template <class Widget>
Widget* makeButtonWidget(QWidget* parent) {
    auto* widget = new Widget(parent);
    QObject::connect(widget, &QAbstractButton::clicked, widget, [widget] {
        if (Control* control = controlOfWidget(widget)) raiseUserClick(*control);
    });
    return widget;
}

// A check box or radio button; `checked` follows the widget, for a control that is made again
// after destroy().
template <class Widget>
Widget* makeCheckableWidget(QWidget* parent, bool& checked) {
    auto* widget = makeButtonWidget<Widget>(parent);
    widget->setChecked(checked);
    QObject::connect(widget, &QAbstractButton::toggled, widget, [&checked](bool on) { checked = on; });
    return widget;
}

bool liveChecked(const Control& control, bool stored) {
    return control.created() ? static_cast<QAbstractButton*>(control.nativeWidget())->isChecked() : stored;
}

void applyChecked(Control& control, bool& stored, bool checked) {
    stored = checked;
    if (control.created()) static_cast<QAbstractButton*>(control.nativeWidget())->setChecked(checked);
}

void makeTabStop(Control& control) {
    ControlAccess::state(control).canFocus = true;
    ControlAccess::state(control).tabStop = true;
}

}  // namespace

void ButtonBase::applyNativeText() { static_cast<QAbstractButton*>(nativeWidget())->setText(toQString(text())); }

Button::Button() {
    makeTabStop(*this);
    ControlAccess::state(*this).bounds = {0, 0, 75, 23};
}

QWidget* Button::createNativeWidget(QWidget* parentWidget) {
    auto* widget = makeButtonWidget<PushButtonWidget>(parentWidget);
    widget->setMarkedDefault(markedDefault_);
    return widget;
}

void Button::simulateClick() {
    if (!created() || !enabled() || !visible()) return;
    guarded([this] {
        EventArgs args;
        click.raise(*this, args);
    });
}

void Button::markDefault(bool isDefault) {
    markedDefault_ = isDefault;
    if (created()) static_cast<PushButtonWidget*>(nativeWidget())->setMarkedDefault(isDefault);
}

CheckBox::CheckBox() {
    makeTabStop(*this);
    ControlAccess::state(*this).bounds = {0, 0, 104, 24};
}

QWidget* CheckBox::createNativeWidget(QWidget* parentWidget) { return makeCheckableWidget<QCheckBox>(parentWidget, checked_); }

bool CheckBox::checked() const { return liveChecked(*this, checked_); }

void CheckBox::setChecked(bool checked) { applyChecked(*this, checked_, checked); }

RadioButton::RadioButton() {
    // Reached by the arrow keys and the mouse, not by Tab.
    ControlAccess::state(*this).canFocus = true;
    ControlAccess::state(*this).bounds = {0, 0, 104, 24};
}

QWidget* RadioButton::createNativeWidget(QWidget* parentWidget) {
    auto* widget = makeCheckableWidget<RadioButtonWidget>(parentWidget, checked_);
    widget->setFocusPolicy(Qt::ClickFocus);
    return widget;
}

bool RadioButton::checked() const { return liveChecked(*this, checked_); }

void RadioButton::setChecked(bool checked) { applyChecked(*this, checked_, checked); }

GroupBox::GroupBox() { ControlAccess::state(*this).bounds = {0, 0, 200, 100}; }

QWidget* GroupBox::createNativeWidget(QWidget* parentWidget) { return new GroupBoxWidget(parentWidget); }

void GroupBox::applyNativeText() { static_cast<QGroupBox*>(nativeWidget())->setTitle(toQString(text())); }
