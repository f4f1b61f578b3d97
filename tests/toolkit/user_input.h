#pragma once

// Synthetic user input for the loop, modal and error-dialog tests: events delivered through the
// application as the platform would deliver them, so that event filters see them.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "control_p.h"
#include "toolkit/application.h"
#include "toolkit/testing/testing.h"

namespace user_input {

inline void click(QWidget* widget) {
    const QPointF inside(widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(inside);
    QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

inline void click(Control& control) {
    click(widgetOf(control));
}

// A key pressed and released on the widget that has the keyboard focus in `window`.
inline void pressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
}

// A window shown is activated by the platform a little later; focus and the active window are
// known only from then on.
inline bool waitUntilActive(QWidget* window) {
    for (int turn = 0; turn < 100 && QApplication::activeWindow() != window; ++turn) {
        QApplication::processEvents();
    }
    return QApplication::activeWindow() == window;
}

// Runs `code` from inside whatever loop is running when the queue is next served.
inline void later(std::function<void()> code) {
    QTimer::singleShot(0, qApp, std::move(code));
}

}  // namespace user_input
