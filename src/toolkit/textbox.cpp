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

#include "control_p.h"
#include "style_p.h"
#include "toolkit/textbox.h"

namespace {

// An edit box, single-line or multi-line alike: what the text box and the context menu do with it.
class EditBox {
public:
    virtual ~EditBox() = default;
    virtual QString content() const = 0;
    virtual void setContent(const QString& text) = 0;
    virtual void caretToStart() = 0;
    virtual void setEditable(bool editable) = 0;
    virtual void setHorizontalAlignment(Qt::Alignment alignment) = 0;
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
void showEditMenu(QWidget& edit, EditBox& commands, const QPoint& globalPosition) {
    const bool selection = commands.hasSelection();
    const bool editable = !commands.isReadOnly();
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    QMenu menu(&edit);
    addMenuItem(menu, QStringLiteral("&Undo"), commands.canUndo(), [&] { commands.undo(); });
    menu.addSeparator();
    addMenuItem(menu, QStringLiteral("Cu&t"), selection && editable, [&] { commands.cut(); });
    addMenuItem(menu, QStringLiteral("&Copy"), selection, [&] { commands.copy(); });
    addMenuItem(menu, QStringLiteral("&Paste"), editable && clipboard && clipboard->hasText(),
                [&] { commands.paste(); });
    addMenuItem(menu, QStringLiteral("&Delete"), selection && editable, [&] { commands.deleteSelection(); });
    menu.addSeparator();
    addMenuItem(menu, QStringLiteral("Select &All"), !commands.isEmpty() && !commands.allSelected(),
                [&] { commands.selectAll(); });
    menu.exec(globalPosition);
}

class SingleLineEdit : public QLineEdit, public EditBox {
public:
    explicit SingleLineEdit(QWidget* parent) : QLineEdit(parent) {}

    QString content() const override { return text(); }
    void setContent(const QString& text) override { setText(text); }
    void caretToStart() override { setCursorPosition(0); }
    void setEditable(bool editable) override { setReadOnly(!editable); }
    void setHorizontalAlignment(Qt::Alignment alignment) override { setAlignment(alignment | Qt::AlignVCenter); }

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
class MultiLineEdit : public QPlainTextEdit, public EditBox {
public:
    explicit MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

    QString content() const override { return toPlainText(); }
    void setContent(const QString& text) override {
        setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    void caretToStart() override { moveCursor(QTextCursor::Start); }
    void setEditable(bool editable) override { setReadOnly(!editable); }
    void setHorizontalAlignment(Qt::Alignment alignment) override {
        document()->setDefaultTextOption(QTextOption(alignment));
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

// The edit box of a text box while its widget exists.
EditBox* editBoxOf(Control& box) {
    return dynamic_cast<EditBox*>(widgetOf(box));
}
const EditBox* editBoxOf(const Control& box) {
    return dynamic_cast<const EditBox*>(widgetOf(box));
}

}  // namespace

std::string TextBoxBase::text() const {
    if (const EditBox* edit = editBoxOf(*this)) {
        return toStdString(edit->content());
    }
    return Control::text();
}

// As in the Windows edit control, a text given to a box shows from its first character, with the
// caret before it, however long the text is.
void TextBoxBase::setText(const std::string& text) {
    Control::setText(text);
    if (EditBox* edit = editBoxOf(*this)) {
        edit->caretToStart();
    }
}

void TextBoxBase::applyNativeText() {
    editBoxOf(*this)->setContent(toQString(Control::text()));
}

// Without a colour of its own, a read-only box has the face colour of dialogs, as on Windows.
Color TextBoxBase::backgroundColor() const {
    if (hasOwnBackgroundColor()) {
        return Control::backgroundColor();
    }
    return Color::system(readOnly_ ? Color::ButtonFace : Color::WindowBackground);
}

void TextBoxBase::applyNativeBackground() {
    setBackground(*widgetOf(*this), backgroundColor(), {QPalette::Base}, {QPalette::Text});
}

void TextBoxBase::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (!created()) {
        return;
    }
    editBoxOf(*this)->setEditable(!readOnly);
    applyNativeBackground();
}

void TextBoxBase::setMultiline(bool multiline) {
    if (!created()) {
        multiline_ = multiline;
    }
}

std::uint32_t TextBoxBase::textLength() const {
    return std::uint32_t(toQString(text()).size());
}

void TextBoxBase::selectAll() {
    if (EditBox* edit = editBoxOf(*this)) {
        edit->selectAll();
    }
}

TextBox::TextBox() : TextBoxBase(Kind{.defaultBounds = {0, 0, 100, 20}, .canFocus = true, .tabStop = true}) {}

void TextBox::createNativeWidget() {
    QWidget* container = widgetOf(parent());
    EditBox* edit = nullptr;
    if (multiline()) {
        auto* widget = new MultiLineEdit(container);
        native(nativeKey).widget = widget;
        edit = widget;
    } else {
        auto* widget = new SingleLineEdit(container);
        native(nativeKey).widget = widget;
        edit = widget;
    }
    edit->setEditable(!readOnly());
    edit->setHorizontalAlignment(qAlignmentOf(alignment_));
}

void TextBox::setAlignment(HorizontalAlignment alignment) {
    alignment_ = alignment;
    if (EditBox* edit = editBoxOf(*this)) {
        edit->setHorizontalAlignment(qAlignmentOf(alignment));
    }
}
