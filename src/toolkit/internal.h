#pragma once

// Shared by the toolkit's sources only: never included by application code or public headers.

#include <QString>
#include <functional>
#include <string>

#include "toolkit/application.h"
#include "toolkit/controls.h"

class QApplication;
class QWidget;

// The Qt application object, created on first need (any widget, font, box or loop needs it).
QApplication& ensureQtApplication();

inline QString toQString(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
inline std::string toStdString(const QString& text) { return text.toStdString(); }

// Runs code that may call the program's handlers; an exception that escapes is reported
// (Application::reportUnhandled) and never travels through Qt's event loop.
template <class Code>
void guarded(Code&& code) {
    try {
        code();
    } catch (...) {
        Application::reportUnhandled(std::current_exception());
    }
}

// The toolkit control behind a Qt widget, and the form whose window holds a widget.
Control* controlOfWidget(const QWidget* widget);
Form* formOfWidget(const QWidget* widget);

// What the modal display and the error dialog need of a form beyond its public members.
// Form::FormState is defined here, below, by the controls' implementation.
struct FormAccess {
    static Form::FormState& state(Form& form);
};

struct Form::FormState {
    // While the form is shown modally (set and cleared by showModal):
    Form* owner = nullptr;          // the form of the owner window, if it has one
    bool shownModally = false;
    DialogResult dialogResult = DialogResult::None;
    // Called the moment the form is hidden during a modal display, so that the owner is
    // re-enabled and activated right then.
    std::function<void()> hiddenWhileModal;
};
