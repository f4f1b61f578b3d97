#pragma once

// The user's input on its way to the windows (messagefilter.cpp): the messages the filters are
// offered, and what counts as input.

#include <QEvent>

#include "toolkit/application.h"

struct Message::Native {
    QObject* receiver;
    QEvent* event;
};

// Whether the event is the user's input to a window: mouse, wheel, keys, shortcuts, context
// menus, and the request to close it.
bool isUserInput(QEvent::Type type);
// Consumes such an event so that it goes no further: not to the widget, nor to its parents,
// nor to Qt's shortcuts; a refused close leaves the window open. Returns true.
bool refuseInput(QEvent* event);
