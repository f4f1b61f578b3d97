// The message box, answered by a test's handler when one is installed.

#include <QApplication>
#include <QMessageBox>

#include "toolkit/internal.h"
#include "toolkit/testing.h"

namespace {

std::function<void(const MessageBoxCall&)>& messageBoxHandler() {
    static std::function<void(const MessageBoxCall&)> handler;
    return handler;
}

QMessageBox::Icon qIconOf(MessageBoxIcon icon) {
    switch (icon) {
    case MessageBoxIcon::Error:
        return QMessageBox::Critical;
    case MessageBoxIcon::Warning:
        return QMessageBox::Warning;
    case MessageBoxIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void setMessageBoxHandler(std::function<void(const MessageBoxCall&)> handler) {
    messageBoxHandler() = std::move(handler);
}

void messageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
    if (messageBoxHandler()) {
        messageBoxHandler()({caption, text, icon});
        return;
    }
    ensureQtApplication();
    QMessageBox box(qIconOf(icon), toQString(caption), toQString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
