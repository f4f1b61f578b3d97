#pragma once

// Building forms and pressing keys for the controls tests. Keys go through QTest, which asks
// Qt's shortcut map first, as a real key press does.

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "control_p.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/testing/testing.h"

namespace controls_support {

inline void show(Form& form) {
    form.setVisible(true);
    QApplication::processEvents();
}

// A key pressed and released where the keyboard focus is (or on the form itself).
inline void press(Form& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused && focused->window() == widgetOf(form) ? focused : widgetOf(form), key, modifiers);
}

// Counts the clicks of a control.
struct ClickCount {
    explicit ClickCount(Control& control) {
        control.click += [this](Control&, EventArgs&) { ++count; };
    }
    int count = 0;
};

}  // namespace controls_support
