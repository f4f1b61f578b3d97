#pragma once

// Seams for tests: answer message boxes and the file-open dialog at once, without a person.
// With no handler installed (the default) the real boxes and dialogs are shown.

#include <functional>
#include <optional>
#include <string>

#include "toolkit/controls.h"

struct MessageBoxCall {
    std::string caption;
    std::string text;
    MessageBoxIcon icon;
};
void setMessageBoxHandler(std::function<void(const MessageBoxCall&)> handler);

struct OpenFileDialogCall {
    std::string title;
    std::string filter;
    std::string initialFolder;
};
// The handler returns the chosen path, or nothing for Cancel.
void setOpenFileDialogHandler(std::function<std::optional<std::string>(const OpenFileDialogCall&)> handler);
