#pragma once

// Events: ordered lists of handlers, their arguments, and key codes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class EventArgs {
public:
    virtual ~EventArgs() = default;
};

class CancelEventArgs : public EventArgs {
public:
    bool cancel = false;
};

// A key code: the virtual-key code in the low 16 bits plus modifier bits.
using KeyCode = std::uint32_t;

struct Keys {
    static constexpr KeyCode Tab = 9;
    static constexpr KeyCode Enter = 13;
    static constexpr KeyCode Escape = 27;
    static constexpr KeyCode Space = 32;
    static constexpr KeyCode Left = 37;
    static constexpr KeyCode Up = 38;
    static constexpr KeyCode Right = 39;
    static constexpr KeyCode Down = 40;
    static constexpr KeyCode F4 = 115;
    // Letters and digits are their upper-case ASCII codes ('A' is 65, '0' is 48).
    static constexpr KeyCode ShiftModifier = 0x00010000;
    static constexpr KeyCode ControlModifier = 0x00020000;
    static constexpr KeyCode AltModifier = 0x00040000;
    static constexpr KeyCode CodeMask = 0x0000FFFF;
};

class FormShortcutEventArgs : public EventArgs {
public:
    explicit FormShortcutEventArgs(KeyCode pressed) : key(pressed) {}
    KeyCode key;
};

// An ordered list of handlers; raising it calls them in the order they were added.
template <class Sender, class Args>
class Event {
public:
    using Handler = std::function<void(Sender&, Args&)>;
    using HandlerId = std::size_t;

    HandlerId add(Handler handler) {
        handlers_.emplace_back(nextId_, std::move(handler));
        return nextId_++;
    }
    Event& operator+=(Handler handler) {
        add(std::move(handler));
        return *this;
    }
    void remove(HandlerId id) {
        std::erase_if(handlers_, [id](const auto& entry) { return entry.first == id; });
    }
    bool empty() const { return handlers_.empty(); }

    // A handler may add or remove handlers while the event is raised: the raise goes over the
    // handlers registered when it began.
    void raise(Sender& sender, Args& args) const {
        const auto current = handlers_;
        for (const auto& entry : current) {
            entry.second(sender, args);
        }
    }

private:
    std::vector<std::pair<HandlerId, Handler>> handlers_;
    HandlerId nextId_ = 0;
};
