#pragma once

// Where a message box or the file-open dialog can be answered without a person: the testing
// library installs answers here, for tests and the screenshot programs. The program installs none,
// and the real boxes and dialogs are shown.

#include <functional>
#include <optional>
#include <string>

#include "toolkit/messagebox.h"

using MessageBoxAnswer = std::function<void(const std::string& text, const std::string& caption, MessageBoxIcon icon)>;
void answerMessageBoxesWith(MessageBoxAnswer answer);

// Returns the chosen path, or nothing for Cancel.
using OpenFileDialogAnswer = std::function<std::optional<std::string>(
    const std::string& title, const std::string& filter, const std::string& initialFolder)>;
void answerOpenFileDialogsWith(OpenFileDialogAnswer answer);
