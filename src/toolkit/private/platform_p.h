#pragma once

// The toolkit's footing on Qt, shared by all its sources: the Qt application object (platform.cpp),
// texts across the boundary, handlers' errors kept out of Qt's event loop, and the key to the
// platform side of the toolkit's objects.
//
// The headers in this folder are the toolkit's own, each named after the source that defines what
// it declares. Its sources include them, and so do its testing library and the tests and
// screenshot programs that link verbaro_toolkit_private; the program never does.

#include <QString>
#include <exception>
#include <string>

#include "toolkit/application.h"
#include "toolkit/nativekey.h"

class QApplication;

struct NativeKeyMaker {
    static constexpr NativeKey make() { return NativeKey(); }
};
// Opens the platform side of controls, fonts, icons and messages.
inline constexpr NativeKey nativeKey = NativeKeyMaker::make();

// The Qt application object, created on first need (any widget, font, box or loop needs it).
QApplication& ensureQtApplication();

inline QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline std::string toStdString(const QString& text) {
    return text.toStdString();
}

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
