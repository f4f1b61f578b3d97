#pragma once

// Buttons: push buttons, check boxes and radio buttons.

#include "toolkit/control.h"

class ButtonBase : public ControlSuperClass {
protected:
    using ControlSuperClass::ControlSuperClass;

private:
    void applyNativeText() override;
};

// A button that a form can press: its Enter button.
class IButtonControl {
public:
    virtual ~IButtonControl() = default;
    virtual void simulateClick() = 0;
    virtual void markDefault(bool isDefault) = 0;
};

class Button : public ButtonBase, public IButtonControl {
public:
    Button();
    // Raises click as a user click would, but only when enabled, visible and created.
    void simulateClick() override;
    // The default-button look whenever the button is enabled.
    void markDefault(bool isDefault) override;

private:
    void createNativeWidget() override;

    bool markedDefault_ = false;
};

// A button that stays checked or unchecked: a check box or a radio button.
class CheckableButton : public ButtonBase {
public:
    bool checked() const;
    void setChecked(bool checked);

protected:
    using ButtonBase::ButtonBase;
    // The checked state follows the widget, for a control whose widget is made again after
    // destroy().
    void followChecked();

private:
    bool checked_ = false;
};

class CheckBox : public CheckableButton {
public:
    CheckBox();

private:
    void createNativeWidget() override;
};

// Checked by a click or an arrow key, which unchecks the other radio buttons of its container.
class RadioButton : public CheckableButton {
public:
    RadioButton();

private:
    void createNativeWidget() override;
};
