// The message filters every event of the application passes first, and what counts as the
// user's input to a window.

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <algorithm>
#include <vector>

#include "messagefilter_p.h"
#include "platform_p.h"

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
        if (found == filters_.end()) {
            return;
        }
        if (offering_ > 0) {
            *found = nullptr;
        } else {
            filters_.erase(found);
        }
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        ++offering_;
        bool consumed = false;
        const Message::Native native{receiver, event};
        Message message(nativeKey, native);
        for (std::size_t index = 0; index < filters_.size() && !consumed; ++index) {
            if (MessageFilter* filter = filters_[index]) {
                consumed = filter->preFilterMessage(message);
            }
        }
        if (--offering_ == 0) {
            std::erase(filters_, nullptr);
        }
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

int Message::type() const {
    return native_.event->type();
}

void Application::addMessageFilter(MessageFilter* filter) {
    messageFilterDispatch().add(filter);
}

void Application::removeMessageFilter(MessageFilter* filter) {
    messageFilterDispatch().remove(filter);
}
