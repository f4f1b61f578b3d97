#pragma once

// The user's input on its way to the windows: the messages the filters are offered, what counts as
// input, and the keyboard handling of a form.

#include <QEvent>
#include <map>
#include <memory>

#include "toolkit/application.h"
#include "toolkit/event.h"
#include "toolkit/form.h"

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

// The filter that does a form's shortcuts and dialog keys, and refuses all input to the form's
// window while the form is disabled (keyboard.cpp).
using ShortcutMap = std::map<KeyCode, Form::ShortcutHandler>;
std::unique_ptr<MessageFilter> makeFormKeyFilter(Form& form, const ShortcutMap& shortcuts);

// The virtual-key code with modifier bits of a Qt key event; 0 in the low bits for keys that
// have none.
KeyCode keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers);
