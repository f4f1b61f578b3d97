// The application: its message loop, run by the main window and by every modal display, the quit
// message that ends it, the program's resources, and the report of an error that escapes an event
// handler. Its message filters are messagefilter.cpp; the Qt application object beneath it all is
// platform.cpp.

#include "toolkit/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <cstdio>
#include <cstdlib>

#include "application_p.h"
#include "errform_p.h"
#include "platform_p.h"
#include "toolkit/form.h"
#include "toolkit/resources.h"

Event<std::thread::id, ThreadExceptionEventArgs> Application::unhandledException;
Event<std::thread::id, EventArgs> Application::idle;
Event<std::thread::id, EventArgs> Application::loopEnded;

namespace {

struct LoopState {
    bool running = false;
    bool stopRequested = false;
    bool quitReceived = false;
    int exitCode = 0;
    bool reporting = false;
};
thread_local LoopState loopState;

// The quit message: posted behind whatever is already queued, so the handlers of those
// messages still run before the loop that takes it ends.
const QEvent::Type quitEventType = QEvent::Type(QEvent::registerEventType());

class QuitEvent : public QEvent {
public:
    explicit QuitEvent(int exitCode) : QEvent(quitEventType), exitCode(exitCode) {}
    const int exitCode;
};

class QuitReceiver : public QObject {
public:
    using QObject::QObject;

protected:
    bool event(QEvent* event) override {
        if (event->type() != quitEventType) {
            return QObject::event(event);
        }
        loopState.quitReceived = true;
        loopState.exitCode = static_cast<QuitEvent*>(event)->exitCode;
        return true;
    }
};

QObject& quitReceiver() {
    thread_local QPointer<QObject> receiver;
    if (!receiver) {
        receiver = new QuitReceiver(&ensureQtApplication());
    }
    return *receiver;
}

void raiseThreadEvent(const Event<std::thread::id, EventArgs>& event) {
    auto thread = std::this_thread::get_id();
    EventArgs args;
    event.raise(thread, args);
}

bool loopMustEnd(const std::function<bool()>& finished) {
    return loopState.quitReceived || finished();
}

// One turn of the loop; returns true when the loop is to end. Whatever is waiting is handled
// first; only when the queue has run dry is idle raised and the thread put to sleep.
bool runPass(LoopDepth depth, const std::function<bool()>& finished) {
    if (loopMustEnd(finished)) {
        return true;
    }
    // Qt deletes a widget given up with deleteLater() outside every event handler only inside a
    // QEventLoop, which this loop does not use; at the top of the main loop no handler can still
    // be using it. A nested loop leaves it alone: the handler that opened it may.
    if (depth == LoopDepth::Main) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher->processEvents(QEventLoop::AllEvents)) {
        return loopMustEnd(finished);
    }
    if (loopMustEnd(finished)) {
        return true;
    }
    raiseThreadEvent(Application::idle);
    if (loopMustEnd(finished)) {
        return true;
    }
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return loopMustEnd(finished);
}

// "Error: " and the text, with its length (the text may hold any byte), as one line.
void writeErrorLine(const std::string& text) {
    std::fputs("Error: ", stdout);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

void runMessagePasses(LoopDepth depth, const std::function<bool()>& finished) {
    ensureQtApplication();
    bool ended = false;
    while (!ended) {
        guarded([&] { ended = runPass(depth, finished); });
    }
}

// ---------------------------------------------------------------------------------------------

ApplicationContext::ApplicationContext(Form* mainForm) : mainForm_(mainForm) {
    if (mainForm_) {
        closedHandler_ = mainForm_->closed.add([this](Form&, EventArgs&) { endLoop(); });
    }
}

ApplicationContext::~ApplicationContext() {
    if (mainForm_) {
        mainForm_->closed.remove(closedHandler_);
    }
}

void ApplicationContext::endLoop() {
    EventArgs args;
    loopExit.raise(*this, args);
}

// ---------------------------------------------------------------------------------------------

bool Application::running() {
    return loopState.running;
}
bool Application::stopRequested() {
    return loopState.stopRequested;
}
bool Application::quitReceived() {
    return loopState.quitReceived;
}
int Application::exitCode() {
    return loopState.exitCode;
}

void Application::runLoop(ApplicationContext& context) {
    ensureQtApplication();
    const auto stopHandler =
        context.loopExit.add([](ApplicationContext&, EventArgs&) { loopState.stopRequested = true; });
    loopState.running = true;
    // The loop state is put back however the loop is left, an escaping exception included;
    // a quit message once taken stays taken.
    struct Cleanup {
        ApplicationContext& context;
        Event<ApplicationContext, EventArgs>::HandlerId stopHandler;
        ~Cleanup() {
            loopState.running = false;
            loopState.stopRequested = false;
            context.loopExit.remove(stopHandler);
        }
    } cleanup{context, stopHandler};

    if (context.mainForm()) {
        context.mainForm()->setVisible(true);
    }
    runMessagePasses(LoopDepth::Main, [] { return loopState.stopRequested; });
    raiseThreadEvent(loopEnded);
}

void Application::postQuit(int exitCode) {
    QCoreApplication::postEvent(&quitReceiver(), new QuitEvent(exitCode));
}

Resources& Application::programResources() {
    static Resources resources;
    return resources;
}

void Application::reportUnhandled(const std::exception_ptr& error) {
    const std::string text = textForm(error);
    if (loopState.reporting) {
        // A second failure while the first is being reported: nothing is left that could show it.
        writeErrorLine(text);
        std::abort();
    }
    loopState.reporting = true;
    struct ReportingFlag {
        ~ReportingFlag() { loopState.reporting = false; }
    } reportingFlag;

    if (!unhandledException.empty()) {
        auto thread = std::this_thread::get_id();
        ThreadExceptionEventArgs args(error);
        unhandledException.raise(thread, args);
        return;
    }
    ErrForm dialog(text);
    if (dialog.waitForChoice()) {
        return;
    }
    writeErrorLine(text);
    std::exit(1);
}
