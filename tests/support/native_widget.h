#pragma once

// The Qt widget behind a toolkit control, for tests and screenshots that look at or drive what
// the platform shows: found by the property with which the toolkit marks its widgets.

#include <QApplication>
#include <QVariant>
#include <QWidget>

#include "toolkit/testing.h"

// The control a widget stands for, if it stands for one.
inline Control* controlOfWidget(const QWidget* widget) {
    return widget ? static_cast<Control*>(widget->property(controlWidgetProperty).value<void*>()) : nullptr;
}

// None while the control has no widget.
inline QWidget* nativeWidget(const Control& control) {
    for (QWidget* widget : QApplication::allWidgets())
        if (controlOfWidget(widget) == &control) return widget;
    return nullptr;
}
