#pragma once

// Where the file-open dialog can be answered without a person (dialogs.cpp): the testing library
// installs an answer here, for tests and the screenshot programs. The program installs none, and
// the real dialog is shown.

#include <functional>
#include <optional>
#include <string>

// Returns the chosen path, or nothing for Cancel.
using OpenFileDialogAnswer = std::function<std::optional<std::string>(
    const std::string& title, const std::string& filter, const std::string& initialFolder)>;
void answerOpenFileDialogsWith(OpenFileDialogAnswer answer);
