// The testing library: answers installed at the toolkit's hook points, and looks at what the
// toolkit shows.

#include "toolkit/testing/testing.h"

#include <QApplication>
#include <QWidget>

#include "control_p.h"
#include "dialogs_p.h"
#include "errform_p.h"
#include "font_p.h"
#include "label_p.h"
#include "messagebox_p.h"
#include "toolkit/label.h"

void setMessageBoxHandler(std::function<void(const MessageBoxCall&)> handler) {
    if (!handler) {
        answerMessageBoxesWith(nullptr);
        return;
    }
    answerMessageBoxesWith(
        [handler = std::move(handler)](const std::string& text, const std::string& caption, MessageBoxIcon icon) {
            handler({caption, text, icon});
        });
}

void setOpenFileDialogHandler(std::function<std::optional<std::string>(const OpenFileDialogCall&)> handler) {
    if (!handler) {
        answerOpenFileDialogsWith(nullptr);
        return;
    }
    answerOpenFileDialogsWith([handler = std::move(handler)](const std::string& title, const std::string& filter,
                                                             const std::string& initialFolder) {
        return handler({title, filter, initialFolder});
    });
}

void startToolkit() {
    ensureQtApplication();
}

std::vector<std::string> shownLines(const Label& label) {
    const Rect bounds = label.bounds();
    std::vector<std::string> lines;
    for (const QString& line :
         labelLines(toQString(label.text()), qFontOf(label.font()), QSize(bounds.width, bounds.height))) {
        lines.push_back(toStdString(line));
    }
    return lines;
}

Form* shownErrorDialog() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) {
            continue;
        }
        if (auto* dialog = dynamic_cast<Application::ErrForm*>(formOfWidget(window))) {
            return dialog;
        }
    }
    return nullptr;
}

std::unique_ptr<Form> makeErrorDialog(const std::string& errorText) {
    return std::make_unique<Application::ErrForm>(errorText);
}
