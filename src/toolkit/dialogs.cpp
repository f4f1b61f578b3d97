// The file-open dialog, answered in place of a person when the testing library has installed an answer.

#include "toolkit/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStringList>
#include <optional>

#include "dialogs_p.h"
#include "platform_p.h"
#include "toolkit/toolkitexception.h"

namespace {

OpenFileDialogAnswer& openFileDialogAnswer() {
    static OpenFileDialogAnswer answer;
    return answer;
}

// Segments separated by "|", none empty, in description/patterns pairs, all on one line.
bool isValidFilter(const std::string& filter) {
    std::size_t separators = 0;
    bool segmentEmpty = true;
    for (const char c : filter) {
        if (c == '\n' || c == '\r' || c == '\0') {
            return false;
        }
        if (c != '|') {
            segmentEmpty = false;
            continue;
        }
        if (segmentEmpty) {
            return false;
        }
        ++separators;
        segmentEmpty = true;
    }
    return !segmentEmpty && separators % 2 == 1;
}

QStringList splitPatterns(const QString& patterns, const QRegularExpression& separator) {
    QStringList result;
    for (const QString& pattern : patterns.split(separator, Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty()) {
            result << trimmed;
        }
    }
    return result;
}

// One description/patterns pair as Qt writes it: "Text files (*.txt)". A description that
// already ends with its own patterns in parentheses does not get them twice. "*.*" means every
// file where the filter syntax comes from, but only names with a dot to Qt, so it becomes "*".
QString qtNameFilter(const QString& description, const QString& patterns) {
    const QStringList ownPatterns = splitPatterns(patterns, QRegularExpression(";"));
    QString label = description.trimmed();
    const qsizetype open = label.lastIndexOf('(');
    if (open >= 0 && label.endsWith(')')) {
        const QString listed = label.mid(open + 1, label.size() - open - 2);
        if (splitPatterns(listed, QRegularExpression("[; ]")) == ownPatterns) {
            label = label.left(open).trimmed();
        }
    }
    QStringList qtPatterns;
    for (const QString& pattern : ownPatterns) {
        qtPatterns << (pattern == "*.*" ? QStringLiteral("*") : pattern);
    }
    const QString list = "(" + qtPatterns.join(' ') + ")";
    return label.isEmpty() ? list : label + " " + list;
}

QStringList qtNameFilters(const std::string& filter) {
    const QStringList segments = toQString(filter).split('|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < segments.size(); i += 2) {
        result << qtNameFilter(segments[i], segments[i + 1]);
    }
    return result;
}

// The dialog is a child of the window it is shown over, and its nested loop deletes what was given
// up with deleteLater() meanwhile: should that window go, the dialog goes with it. So the dialog
// lives on the heap and is looked at again only while it is still there.
std::optional<std::string> runQtFileDialog(const std::string& title, const std::string& filter,
                                           const std::string& initialFolder) {
    const QPointer<QFileDialog> dialog =
        new QFileDialog(QApplication::activeWindow(), toQString(title), toQString(initialFolder));
    const auto dropDialog = qScopeGuard([&dialog] { delete dialog.data(); });
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (!filter.empty()) {
        dialog->setNameFilters(qtNameFilters(filter));
    }
    if (dialog->exec() != QDialog::Accepted || !dialog) {
        return std::nullopt;
    }
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty()) {
        throw ToolkitException("Error running dialog");
    }
    return toStdString(chosen.first());
}

}  // namespace

void answerOpenFileDialogsWith(OpenFileDialogAnswer answer) {
    openFileDialogAnswer() = std::move(answer);
}

void FileDialog::setFilter(const std::string& filter) {
    if (!filter.empty() && !isValidFilter(filter)) {
        throw ToolkitException("Invalid file filter string");
    }
    filter_ = filter;
}

DialogResult OpenFileDialog::showModal() {
    ensureQtApplication();
    const OpenFileDialogAnswer& answer = openFileDialogAnswer();
    const std::optional<std::string> chosen =
        answer ? answer(title_, filter_, initialFolder_) : runQtFileDialog(title_, filter_, initialFolder_);
    if (!chosen) {
        return DialogResult::Cancel;
    }
    // Only an existing file can be chosen; anything else counts as a cancelled dialog.
    const QFileInfo file(toQString(*chosen));
    if (!file.isFile()) {
        return DialogResult::Cancel;
    }
    fileName_ = toStdString(file.absoluteFilePath());
    return DialogResult::OK;
}
