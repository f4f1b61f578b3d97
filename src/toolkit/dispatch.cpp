// The Qt application object, the message filters every event passes first, the program's own
// path and resources, and the message box.

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QObject>
#include <QPainter>
#include <QProxyStyle>
#include <QSettings>
#include <QStyleFactory>
#include <QStyleOption>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/internal.h"
#include "toolkit/testing.h"

namespace {

// Offers every event of the application to the registered message filters, in the order they
// were added; the first that consumes it ends its delivery. A filter may add or remove filters
// (a form made or deleted by a handler) while an event is offered: a removed one is skipped
// at once and its slot cleared only when no event is being offered any more.
class MessageFilterDispatch : public QObject {
public:
    void add(MessageFilter* filter) { filters_.push_back(filter); }

    void remove(MessageFilter* filter) {
        const auto found = std::find(filters_.begin(), filters_.end(), filter);
        if (found == filters_.end()) return;
        if (offering_ > 0)
            *found = nullptr;
        else
            filters_.erase(found);
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        ++offering_;
        bool consumed = false;
        Message::Native native{receiver, event};
        Message message(native);
        for (std::size_t index = 0; index < filters_.size() && !consumed; ++index) {
            if (MessageFilter* filter = filters_[index]) consumed = filter->preFilterMessage(message);
        }
        if (--offering_ == 0) std::erase(filters_, nullptr);
        return consumed;
    }

private:
    std::vector<MessageFilter*> filters_;
    int offering_ = 0;
};

MessageFilterDispatch& messageFilterDispatch() {
    // Lives as long as the application object, which is never deleted.
    static MessageFilterDispatch* dispatch = [] {
        auto* created = new MessageFilterDispatch;
        ensureQtApplication().installEventFilter(created);
        return created;
    }();
    return *dispatch;
}

std::function<void(const MessageBoxCall&)>& messageBoxHandler() {
    static std::function<void(const MessageBoxCall&)> handler;
    return handler;
}

// Fusion, with the keyboard focus shown as Windows shows it: a dotted rectangle inside a push
// button and around the text of a check box or radio button, once the focus has been moved with
// the keyboard, instead of Fusion's tinted outline.
class ToolkitStyle : public QProxyStyle {
public:
    ToolkitStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameFocusRect) {
            if (showsFocus(*option)) drawDottedRect(*painter, option->rect, option->palette.color(QPalette::WindowText));
            return;
        }
        const bool tintedWithFocus =
            element == PE_PanelButtonCommand || element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton;
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (tintedWithFocus && button && (button->state & State_HasFocus)) {
            QStyleOptionButton withoutFocus = *button;
            withoutFocus.state &= ~State_HasFocus;
            QProxyStyle::drawPrimitive(element, &withoutFocus, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        constexpr int inset = 4;
        if (element == CE_PushButton && (option->state & State_HasFocus) && showsFocus(*option))
            drawDottedRect(*painter, option->rect.adjusted(inset, inset, -inset, -inset), option->palette.color(QPalette::ButtonText));
    }

private:
    // Shown only once the focus has been moved with the keyboard in the window.
    static bool showsFocus(const QStyleOption& option) { return option.state & State_KeyboardFocusChange; }

    // Every other pixel of the rectangle's edge, as Windows' DrawFocusRect.
    static void drawDottedRect(QPainter& painter, const QRect& rect, const QColor& color) {
        QPen pen(color, 0, Qt::CustomDashLine);
        pen.setDashPattern({1, 1});
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.restore();
    }
};

// While the application object is made, the platform plugin's own complaints are held back; a
// platform that cannot start at all ends the program with one line that names the display tried,
// where Qt would abort with several.
QtMessageHandler messageHandlerBeforeStart = nullptr;

void startMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        if (display && *display)
            std::fprintf(stderr, "verbaro: no display could be opened (tried \"%s\")\n", display);
        else
            std::fputs("verbaro: no display could be opened (DISPLAY is not set)\n", stderr);
        std::_Exit(1);
    }
    if (context.category && std::string_view(context.category).starts_with("qt.qpa.")) return;
    if (messageHandlerBeforeStart) messageHandlerBeforeStart(type, context, message);
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

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

bool refuseInput(QEvent* event) {
    // Qt closes a window whose close event comes back accepted, as a new one is; any other event
    // stays accepted, so that Qt offers it to no parent widget and, for a key, to no shortcut.
    event->setAccepted(event->type() != QEvent::Close);
    return true;
}

QApplication& ensureQtApplication() {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!application) {
        // Never deleted: the application object outlives every widget, font and icon that the
        // toolkit keeps, statics included.
        static int argc = 1;
        static char programName[] = "verbaro";
        static char* argv[] = {programName, nullptr};
        messageHandlerBeforeStart = qInstallMessageHandler(startMessageHandler);
        application = new QApplication(argc, argv);
        qInstallMessageHandler(messageHandlerBeforeStart);
    }
    static bool configured = false;
    if (!configured) {
        configured = true;
        // The same look on every desktop; windows live until the toolkit closes them.
        QApplication::setStyle(new ToolkitStyle);
        QApplication::setQuitOnLastWindowClosed(false);
        // The program keeps no settings and writes no files: what Qt would keep on its behalf
        // (the file dialog's history, last folder and column layout) has a place that cannot
        // exist, so nothing is written there, nor read.
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
                QSettings::setPath(format, scope, QStringLiteral("/dev/null"));
        }
        registerSubstituteFonts();
        QApplication::setFont(qFontOf(defaultControlFont()));
    }
    return *application;
}

int Message::type() const { return native_.event->type(); }

void Application::addMessageFilter(MessageFilter* filter) { messageFilterDispatch().add(filter); }

void Application::removeMessageFilter(MessageFilter* filter) { messageFilterDispatch().remove(filter); }

Resources& Application::programResources() {
    static Resources resources;
    return resources;
}

std::string programPath() {
    return toStdString(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}

void setMessageBoxHandler(std::function<void(const MessageBoxCall&)> handler) { messageBoxHandler() = std::move(handler); }

void messageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
    if (messageBoxHandler()) {
        messageBoxHandler()({caption, text, icon});
        return;
    }
    ensureQtApplication();
    QMessageBox box(qIconOf(icon), toQString(caption), toQString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
