#pragma once

// Shared by the toolkit's sources only: never included by application code or public headers.

#include <QAccessible>
#include <QColor>
#include <QEvent>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "toolkit/application.h"
#include "toolkit/controls.h"

class QApplication;
class QStyle;

struct Message::Native {
    QObject* receiver;
    QEvent* event;
};

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

// The toolkit control behind a Qt widget, and the form whose window holds a widget.
Control* controlOfWidget(const QWidget* widget);
Form* formOfWidget(const QWidget* widget);

// The widget that stands for a control while it exists.
struct Control::Native {
    QPointer<QWidget> widget;
    // A widget already given up by destroy() but not yet deleted by Qt: destroy() may run
    // inside one of that widget's own event handlers, so it goes with deleteLater().
    QPointer<QWidget> retiredWidget;
};

inline QWidget* widgetOf(const Control& control) {
    return control.native().widget;
}
// The widget of a container, where the widgets of its children go; none for no container.
inline QWidget* widgetOf(const Control* control) {
    return control ? widgetOf(*control) : nullptr;
}

// A window's frame as the window system has it now, and the outer bounds it gives the window.
// QWidget::frameGeometry() keeps the frame that Qt read when the window last moved or changed its
// size: none, or one half built, if the window manager had not finished framing the window then,
// and a fixed window that never moves again keeps that for good.
QMargins frameMarginsOf(const QWidget& window);
QRect outerBoundsOf(const QWidget& window);

// The control behind `widget` or, for a widget that belongs to a control's inner parts (the
// viewport of a multi-line text box), behind its nearest ancestor that has one.
Control* controlContaining(const QWidget* widget);

// Every descendant of `root` in attach order, each container before its children.
std::vector<Control*> descendantsInAttachOrder(Control& root);

// Whether the keyboard focus may go to the control now: created, able to take it, enabled and
// shown, its ancestors included.
bool canTakeFocusNow(const Control& control);

// The lines in which a label of this size shows its text: wrapped at word boundaries to its
// width, without a last line that would be cut off at the bottom, mnemonics taken out.
QStringList labelLines(const QString& text, const QFont& font, QSize size);
// The distance between the lines of a label, as Windows measures the font.
int labelLineHeight(const QFont& font);

// The mnemonic of a text ("&Open..." gives 'O'), upper case; none when it has no "&x".
std::optional<QChar> mnemonicOf(const QString& text);

// A label's text as shown: "&&" stands for "&", and every other "&" marks the next letter.
QString withoutMnemonicMarks(const QString& text);

// What screen readers are told of the controls (accessible.cpp). Qt describes text boxes, push
// buttons and check boxes rightly itself; every other widget is marked, when it is made, as one
// that the toolkit describes, with the role of its kind.
void describeAs(QWidget& widget, QAccessible::Role role);
// Installs the toolkit's descriptions; the last installed is asked first, before Qt's own.
void installAccessibleDescriptions();
// Gives the widget of the control, and those of the controls it captions, their accessible name
// and description as they now are; a change is announced.
void showAccessibleText(Control& control);
// Announces the control's description anew.
void announceAccessibleDescription(Control& control);

// The look of every widget (style.cpp).
QStyle* makeToolkitStyle();

// The colour a Color stands for on this platform.
QColor qColorOf(const Color& color);
// Gives the widget the colour in the background roles. A fixed colour gets its text, in the text
// roles, in black or white, whichever reads better on it: the desktop's text colour goes with the
// desktop's own backgrounds only (light text on a dark palette). A system colour keeps that text.
void setBackground(QWidget& widget, const Color& color, std::initializer_list<QPalette::ColorRole> backgrounds,
                   std::initializer_list<QPalette::ColorRole> texts);

// Makes the stand-in for the Windows dialog font known to Qt (Tahoma from Wine's fonts, which
// are not in fontconfig's path); its bold face follows when a font first asks for it.
void registerSubstituteFonts();

// Every control without a font of its own uses this one: "MS Shell Dlg 2" at the default GUI
// font's point size.
const std::shared_ptr<Font>& defaultControlFont();
// The Qt font of a control's font, the default one for none.
const QFont& qFontOf(const std::shared_ptr<Font>& font);

struct Font::Native {
    QFont font;
};

struct Icon::Native {
    QIcon icon;
    QSize size;
};

// Whether the event is the user's input to a window: mouse, wheel, keys, shortcuts, context
// menus, and the request to close it.
bool isUserInput(QEvent::Type type);
// Consumes such an event so that it goes no further: not to the widget, nor to its parents,
// nor to Qt's shortcuts; a refused close leaves the window open. Returns true.
bool refuseInput(QEvent* event);

// The filter that does a form's shortcuts and dialog keys, and refuses all input to the form's
// window while the form is disabled (keyboard.cpp).
using ShortcutMap = std::map<KeyCode, Form::ShortcutHandler>;
std::unique_ptr<MessageFilter> makeFormKeyFilter(Form& form, const ShortcutMap& shortcuts);

// The virtual-key code with modifier bits of a Qt key event; 0 in the low bits for keys that
// have none.
KeyCode keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers);
