#pragma once

// Adding a control to a container in one step.

#include <functional>
#include <memory>
#include <string>

#include "toolkit/control.h"

// Creates a control, lets `setup` give it its text and settings, places it at `bounds` and
// attaches it to `parent`, which owns it from then on. Until it is attached the control is owned
// here, so a setup that fails (a font the system refuses) leaks nothing.
template <class ControlType>
ControlType* addControl(Control* parent, Rect bounds, const std::function<void(ControlType&)>& setup) {
    auto control = std::make_unique<ControlType>();
    setup(*control);
    control->setBounds(bounds.x, bounds.y, bounds.width, bounds.height);
    control->setParent(parent);
    return control.release();
}

// The same for a control whose text comes first, before its other settings.
template <class ControlType>
ControlType* addControl(Control* parent, const std::string& text, Rect bounds,
                        const std::function<void(ControlType&)>& settings = {}) {
    return addControl<ControlType>(parent, bounds, [&](ControlType& control) {
        control.setText(text);
        if (settings) {
            settings(control);
        }
    });
}
