#pragma once

#include <exception>
#include <functional>
#include <string>

#include "program/exception.h"

// The root of the program's own errors. It is reported by its qualified class name, and shown to
// the user with its message in a warning box.
class AppException : public std::exception, public NamedError {
public:
    // Shows a text in a warning box with a caption. The program installs the toolkit's message box
    // at start; the model itself never depends on the toolkit.
    using WarningBox = std::function<void(const std::string& text, const std::string& caption)>;

    AppException();

    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }
    std::string toString() const override;

    // Does nothing while no warning box is installed.
    virtual void show() const;
    static void setWarningBox(WarningBox box);

protected:
    explicit AppException(std::string message);

private:
    std::string message_;
};
