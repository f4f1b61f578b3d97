#pragma once

// The keyboard handling of a form (keyboard.cpp).

#include <map>
#include <memory>
#include <qnamespace.h>

#include "toolkit/application.h"
#include "toolkit/event.h"
#include "toolkit/form.h"

// The filter that does a form's shortcuts and dialog keys, and refuses all input to the form's
// window while the form is disabled.
using ShortcutMap = std::map<KeyCode, Form::ShortcutHandler>;
std::unique_ptr<MessageFilter> makeFormKeyFilter(Form& form, const ShortcutMap& shortcuts);

// The virtual-key code with modifier bits of a Qt key event; 0 in the low bits for keys that
// have none.
KeyCode keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers);
