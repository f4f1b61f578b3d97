// The message box, answered in place of a person when the testing library has installed an answer.

#include "toolkit/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScopeGuard>

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
    // A child of the window it is shown over, which may go while the box's nested loop runs (see
    // runQtFileDialog): on the heap, and deleted only if it is still there.
    const QPointer<QMessageBox> box = new QMessageBox(qIconOf(icon), toQString(caption), toQString(text),
                                                      QMessageBox::Ok, QApplication::activeWindow());
    const auto dropBox = qScopeGuard([&box] { delete box.data(); });
    box->exec();
}
