#pragma once

#include <exception>
#include <string>
#include <utility>

// The general error: it carries only a message, which is also the text it is reported with.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const noexcept { return message_; }

private:
    std::string message_;
};

// An error whose reported text is not its message but a name of its own (the program's own
// errors are reported by their qualified class name, such as "wordlist.MalformedEntry").
class NamedError {
public:
    virtual ~NamedError() = default;
    virtual std::string toString() const = 0;
};

// The text an error is reported with to the user: a NamedError's name, any other standard
// exception's what(), and for anything else "Unknown error".
inline std::string textForm(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const NamedError& named) {
        return named.toString();
    } catch (const std::exception& other) {
        return other.what();
    } catch (...) {
        return "Unknown error";
    }
}
