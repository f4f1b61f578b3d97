// The message box, answered in place of a person when the testing library has installed an answer.

#include "toolkit/messagebox.h"

#include <QApplication>
#include <QMessageBox>

#include "messagebox_p.h"
#include "platform_p.h"

namespace {

MessageBoxAnswer& messageBoxAnswer() {
    static MessageBoxAnswer answer;
    return answer;
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

void answerMessageBoxesWith(MessageBoxAnswer answer) {
    messageBoxAnswer() = std::move(answer);
}

void messageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
    if (messageBoxAnswer()) {
        messageBoxAnswer()(text, caption, icon);
        return;
    }
    ensureQtApplication();
    QMessageBox box(qIconOf(icon), toQString(caption), toQString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
