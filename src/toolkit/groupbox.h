#pragma once

// A group box: a captioned frame that holds other controls.

#include "toolkit/control.h"

class GroupBox : public ControlSuperClass {
public:
    GroupBox();

private:
    void createNativeWidget() override;
    void applyNativeText() override;
};
