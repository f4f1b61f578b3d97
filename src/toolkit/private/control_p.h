#pragma once

// The widget side of controls (control.cpp): the Qt widget that stands for a control while it
// exists, the control behind a widget, the controls of a window in Tab order, and window frames as
// the window system has them.

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

#include "platform_p.h"
#include "toolkit/control.h"

struct Control::Native {
    QPointer<QWidget> widget;
    // A widget already given up by destroy() but not yet deleted by Qt: destroy() may run
    // inside one of that widget's own event handlers, so it goes with deleteLater().
    QPointer<QWidget> retiredWidget;
};

// None while the control has no widget.
inline QWidget* widgetOf(Control& control) {
    return control.native(nativeKey).widget;
}
inline const QWidget* widgetOf(const Control& control) {
    return control.native(nativeKey).widget;
}
// The widget of a container, where the widgets of its children go; none for no container.
inline QWidget* widgetOf(Control* control) {
    return control ? widgetOf(*control) : nullptr;
}

// The toolkit control behind a Qt widget, and the form whose window holds a widget.
Control* controlOfWidget(const QWidget* widget);
Form* formOfWidget(const QWidget* widget);

// The control behind `widget` or, for a widget that belongs to a control's inner parts (the
// viewport of a multi-line text box), behind its nearest ancestor that has one.
Control* controlContaining(const QWidget* widget);

// Every descendant of `root` in attach order, each container before its children.
std::vector<Control*> descendantsInAttachOrder(Control& root);

// Whether the keyboard focus may go to the control now: created, able to take it, enabled and
// shown, its ancestors included.
bool canTakeFocusNow(const Control& control);

// A window's frame as the window system has it now, and the outer bounds it gives the window.
// QWidget::frameGeometry() keeps the frame that Qt read when the window last moved or changed its
// size: none, or one half built, if the window manager had not finished framing the window then,
// and a fixed window that never moves again keeps that for good.
QMargins frameMarginsOf(const QWidget& window);
QRect outerBoundsOf(const QWidget& window);
