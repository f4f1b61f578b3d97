// Text boxes: a single-line or multi-line edit box with its own context menu.

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>

#include "toolkit/internal.h"

namespace {

// What the context menu needs of an edit box, single-line or multi-line alike.
class EditCommands {
public:
    virtual ~EditCommands() = default;
    virtual bool canUndo() const = 0;
    virtual bool hasSelection() const = 0;
    virtual bool allSelected() const = 0;
    virtual bool isEmpty() const = 0;
    virtual bool isReadOnly() const = 0;
    virtual void undo() = 0;
    virtual void cut() = 0;
    virtual void copy() = 0;
    virtual void paste() = 0;
    virtual void deleteSelection() = 0;
    virtual void selectAll() = 0;
};

void addMenuItem(QMenu& menu, const QString& text, bool enabled, const std::function<void()>& command) {
    QAction* action = menu.addAction(text);
    action->setEnabled(enabled);
    QObject::connect(action, &QAction::triggered, action, command);
}

// The menu's items are enabled or greyed the moment before it opens.
void showEditMenu(QWidget& edit, EditCommands& commands, const QPoint& globalPosition) {
    const bool selection = commands.hasSelection();
    const bool editable = !commands.isReadOnly();
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    QMenu menu(&edit);
    addMenuItem(menu, QStringLiteral("&Undo"), commands.canUndo(), [&] { commands.undo(); });
    menu.addSeparator();
    addMenuItem(menu, QStringLiteral("Cu&t"), selection && editable, [&] { commands.cut(); });
    addMenuItem(menu, QStringLiteral("&Copy"), selection, [&] { commands.copy(); });
    addMenuItem(menu, QStringLiteral("&Paste"), editable && clipboard && clipboard->hasText(), [&] { commands.paste(); });
    addMenuItem(menu, QStringLiteral("&Delete"), selection && editable, [&] { commands.deleteSelection(); });
    menu.addSeparator();
    addMenuItem(menu, QStringLiteral("Select &All"), !commands.isEmpty() && !commands.allSelected(), [&] { commands.selectAll(); });
    menu.exec(globalPosition);
}

class SingleLineEdit : public QLineEdit, private EditCommands {
public:
    explicit SingleLineEdit(QWidget* parent) : QLineEdit(parent) {}

protected:
    void contextMenuEvent(QContextMenuEvent* event) override { showEditMenu(*this, *this, event->globalPos()); }

private:
    bool canUndo() const override { return isUndoAvailable(); }
    bool hasSelection() const override { return hasSelectedText(); }
    bool allSelected() const override { return selectedText().size() == text().size(); }
    bool isEmpty() const override { return text().isEmpty(); }
    bool isReadOnly() const override { return QLineEdit::isReadOnly(); }
    void undo() override { QLineEdit::undo(); }
    void cut() override { QLineEdit::cut(); }
    void copy() override { QLineEdit::copy(); }
    void paste() override { QLineEdit::paste(); }
    void deleteSelection() override { del(); }
    void selectAll() override { QLineEdit::selectAll(); }
};

// Wrapped at the box's width, scrolled as the caret moves; no scroll bars, as the reference box.
class MultiLineEdit : public QPlainTextEdit, private EditCommands {
public:
    explicit MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override { showEditMenu(*this, *this, event->globalPos()); }

private:
    bool canUndo() const override { return !QPlainTextEdit::isReadOnly() && document()->isUndoAvailable(); }
    bool hasSelection() const override { return textCursor().hasSelection(); }
    bool allSelected() const override { return textCursor().selectedText().size() == document()->characterCount() - 1; }
    bool isEmpty() const override { return document()->isEmpty(); }
    bool isReadOnly() const override { return QPlainTextEdit::isReadOnly(); }
    void undo() override { QPlainTextEdit::undo(); }
    void cut() override { QPlainTextEdit::cut(); }
    void copy() override { QPlainTextEdit::copy(); }
    void paste() override { QPlainTextEdit::paste(); }
    void deleteSelection() override { textCursor().removeSelectedText(); }
    void selectAll() override { QPlainTextEdit::selectAll(); }
};

Qt::Alignment qAlignmentOf(HorizontalAlignment alignment) {
    switch (alignment) {
    case HorizontalAlignment::Right:
        return Qt::AlignRight;
    case HorizontalAlignment::Center:
        return Qt::AlignHCenter;
    case HorizontalAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

}  // namespace

std::string TextBoxBase::text() const {
    if (const auto* line = qobject_cast<const QLineEdit*>(nativeWidget())) return toStdString(line->text());
    if (const auto* lines = qobject_cast<const QPlainTextEdit*>(nativeWidget())) return toStdString(lines->toPlainText());
    return Control::text();
}

// As in the Windows edit control, a text given to a box shows from its first character, with the
// caret before it, however long the text is.
void TextBoxBase::setText(const std::string& text) {
    Control::setText(text);
    if (auto* line = qobject_cast<QLineEdit*>(nativeWidget())) line->setCursorPosition(0);
}

void TextBoxBase::applyNativeText() {
    const QString text = toQString(Control::text());
    if (auto* line = qobject_cast<QLineEdit*>(nativeWidget())) line->setText(text);
    if (auto* lines = qobject_cast<QPlainTextEdit*>(nativeWidget())) lines->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// Without a colour of its own, a read-only box has the face colour of dialogs, as on Windows.
Color TextBoxBase::backgroundColor() const {
    if (ControlAccess::state(*this).backgroundColor) return Control::backgroundColor();
    return Color::system(readOnly_ ? Color::ButtonFace : Color::WindowBackground);
}

void TextBoxBase::applyNativeBackground() {
    QWidget* widget = nativeWidget();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, qColorOf(backgroundColor()));
    widget->setPalette(palette);
}

bool TextBoxBase::readOnly() const { return readOnly_; }

void TextBoxBase::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (auto* line = qobject_cast<QLineEdit*>(nativeWidget())) line->setReadOnly(readOnly);
    if (auto* lines = qobject_cast<QPlainTextEdit*>(nativeWidget())) lines->setReadOnly(readOnly);
    if (created()) applyNativeBackground();
}

bool TextBoxBase::multiline() const { return multiline_; }

void TextBoxBase::setMultiline(bool multiline) {
    if (!created()) multiline_ = multiline;
}

std::uint32_t TextBoxBase::textLength() const { return std::uint32_t(toQString(text()).size()); }

void TextBoxBase::selectAll() {
    if (auto* line = qobject_cast<QLineEdit*>(nativeWidget())) line->selectAll();
    if (auto* lines = qobject_cast<QPlainTextEdit*>(nativeWidget())) lines->selectAll();
}

TextBox::TextBox() {
    ControlAccess::state(*this).canFocus = true;
    ControlAccess::state(*this).tabStop = true;
    ControlAccess::state(*this).bounds = {0, 0, 100, 20};
}

QWidget* TextBox::createNativeWidget(QWidget* parentWidget) {
    if (multiline()) {
        auto* widget = new MultiLineEdit(parentWidget);
        widget->setReadOnly(readOnly());
        widget->document()->setDefaultTextOption(QTextOption(qAlignmentOf(alignment_)));
        return widget;
    }
    auto* widget = new SingleLineEdit(parentWidget);
    widget->setReadOnly(readOnly());
    widget->setAlignment(qAlignmentOf(alignment_) | Qt::AlignVCenter);
    return widget;
}

HorizontalAlignment TextBox::alignment() const { return alignment_; }

void TextBox::setAlignment(HorizontalAlignment alignment) {
    alignment_ = alignment;
    if (auto* line = qobject_cast<QLineEdit*>(nativeWidget())) line->setAlignment(qAlignmentOf(alignment) | Qt::AlignVCenter);
    if (auto* lines = qobject_cast<QPlainTextEdit*>(nativeWidget())) lines->document()->setDefaultTextOption(QTextOption(qAlignmentOf(alignment)));
}
