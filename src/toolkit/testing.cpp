// The seams for tests and tools, over the toolkit's own sources.

#include "toolkit/testing.h"

#include <QApplication>
#include <QWidget>

#include "toolkit/errform.h"
#include "toolkit/internal.h"

void startToolkit() {
    ensureQtApplication();
}

std::vector<std::string> shownLines(const Label& label) {
    const Rect bounds = label.bounds();
    std::vector<std::string> lines;
    for (const QString& line :
         labelLines(toQString(label.text()), qFontOf(label.font()), QSize(bounds.width, bounds.height)))
        lines.push_back(toStdString(line));
    return lines;
}

int labelLineHeight(const std::shared_ptr<Font>& font) {
    return labelLineHeight(qFontOf(font));
}

KeyCode keyCodeOfQtKey(int qtKey, unsigned qtModifiers) {
    return keyCodeOf(qtKey, Qt::KeyboardModifiers::fromInt(int(qtModifiers)));
}

Form* shownErrorDialog() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        if (auto* dialog = dynamic_cast<Application::ErrForm*>(formOfWidget(window))) return dialog;
    }
    return nullptr;
}

std::unique_ptr<Form> makeErrorDialog(const std::string& errorText) {
    return std::make_unique<Application::ErrForm>(errorText);
}
