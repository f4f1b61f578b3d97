// The Qt application object: made on first need, never deleted, and set up once.

#include <QApplication>
#include <QSettings>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "accessibility_p.h"
#include "font_p.h"
#include "platform_p.h"
#include "program/identity.h"
#include "style_p.h"

namespace {

// While the application object is made, the platform plugin's own complaints are held back; a
// platform that cannot start at all ends the program with one line that names the display tried,
// where Qt would abort with several.
QtMessageHandler messageHandlerBeforeStart = nullptr;

void startMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        const std::string reason =
            display && *display ? "tried \"" + std::string(display) + "\"" : std::string("DISPLAY is not set");
        std::fprintf(stderr, "%s: no display could be opened (%s)\n", programFileName.c_str(), reason.c_str());
        std::_Exit(1);
    }
    if (context.category && std::string_view(context.category).starts_with("qt.qpa.")) {
        return;
    }
    if (messageHandlerBeforeStart) {
        messageHandlerBeforeStart(type, context, message);
    }
}

}  // namespace

QApplication& ensureQtApplication() {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!application) {
        // Never deleted: the application object outlives every widget, font and icon that the
        // toolkit keeps, statics included.
        static int argc = 1;
        static std::string programName = programFileName;
        static char* argv[] = {programName.data(), nullptr};
        messageHandlerBeforeStart = qInstallMessageHandler(startMessageHandler);
        application = new QApplication(argc, argv);
        qInstallMessageHandler(messageHandlerBeforeStart);
    }
    static bool configured = false;
    if (!configured) {
        configured = true;
        // The same look on every desktop; windows live until the toolkit closes them.
        QApplication::setStyle(makeToolkitStyle());
        QApplication::setQuitOnLastWindowClosed(false);
        // The program keeps no settings and writes no files: what Qt would keep on its behalf
        // (the file dialog's history, last folder and column layout) has a place that cannot
        // exist, so nothing is written there, nor read.
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
                QSettings::setPath(format, scope, QStringLiteral("/dev/null"));
            }
        }
        registerSubstituteFonts();
        QApplication::setFont(qFontOf(defaultControlFont()));
        installAccessibleDescriptions();
    }
    return *application;
}
