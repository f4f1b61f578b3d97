#pragma once

// The message loop, its message filters, and the reporting of errors that escape event handlers.

#include <exception>
#include <thread>

#include "toolkit/event.h"
#include "toolkit/fwd.h"
#include "toolkit/nativekey.h"

class ThreadExceptionEventArgs : public EventArgs {
public:
    // The error as caught, kept to be looked at, not thrown.
    // NOLINTNEXTLINE(bugprone-throw-keyword-missing)
    explicit ThreadExceptionEventArgs(std::exception_ptr error) : exception(std::move(error)) {}
    std::exception_ptr exception;
};

// Ties a run of the message loop to its main window: closing that window ends the loop.
class ApplicationContext {
public:
    explicit ApplicationContext(Form* mainForm = nullptr);
    ~ApplicationContext();
    ApplicationContext(const ApplicationContext&) = delete;
    ApplicationContext& operator=(const ApplicationContext&) = delete;

    Form* mainForm() const { return mainForm_; }
    // Raised when the main window has closed; the running loop listens to it.
    Event<ApplicationContext, EventArgs> loopExit;
    void endLoop();

private:
    Form* mainForm_;
    Event<Form, EventArgs>::HandlerId closedHandler_ = 0;
};

// A message on its way to a window or control, as the message filters are offered it.
class Message {
public:
    // Where the message goes and what it says, as the platform has it; complete only inside the
    // toolkit.
    struct Native;
    Message(NativeKey /*key*/, const Native& native) : native_(native) {}
    // The platform's number for the kind of message.
    int type() const;
    const Native& native(NativeKey /*key*/) const { return native_; }

private:
    const Native& native_;
};

// Offered every message before it is dispatched; returns true to consume it.
class MessageFilter {
public:
    virtual ~MessageFilter() = default;
    virtual bool preFilterMessage(Message& message) = 0;
};

class Application {
public:
    Application() = delete;

    // Shows the context's main form and dispatches messages until the main form has closed or
    // a quit message was taken.
    static void runLoop(ApplicationContext& context);
    // Queues the quit message behind the messages already waiting; the loop that takes it ends,
    // and a nested loop that takes it ends the main loop after itself. The code is kept for the
    // program's exit status (exitCode).
    static void postQuit(int exitCode);

    // Reports an error that escaped an event handler: the unhandledException handlers, or else
    // the error dialog, where the user continues or quits (exit status 1).
    static void reportUnhandled(const std::exception_ptr& error);

    static Resources& programResources();

    static void addMessageFilter(MessageFilter* filter);
    static void removeMessageFilter(MessageFilter* filter);

    // The per-thread loop state.
    static bool running();
    static bool stopRequested();
    static bool quitReceived();
    // The exit code the quit message carried, once one was taken; 0 before.
    static int exitCode();

    static Event<std::thread::id, ThreadExceptionEventArgs> unhandledException;
    static Event<std::thread::id, EventArgs> idle;
    static Event<std::thread::id, EventArgs> loopEnded;

    // The dialog shown for an error that escaped an event handler.
    class ErrForm;
};
