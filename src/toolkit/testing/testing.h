#pragma once

// The toolkit's testing library, for the tests, the screenshot programs and the window's benchmark,
// which link it; the program does not. Free of Qt types: what needs them (the widget behind a
// control, key codes) is in the toolkit's private headers, reached through verbaro_toolkit_private.
//
// Message boxes and the file-open dialog can be answered at once, without a person; with no
// handler installed (the default) the real boxes and dialogs are shown.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/fwd.h"
#include "toolkit/messagebox.h"

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

// Starts the toolkit's platform side (the Qt application object) before a test or a screenshot program drives
// widgets itself; every control, font and loop starts it on first need anyway.
void startToolkit();

// The lines a label shows now: wrapped to its width, mnemonic marks taken out, without a last
// line that would be cut off at the bottom.
std::vector<std::string> shownLines(const Label& label);

// The unhandled-error dialog that is up, if any.
Form* shownErrorDialog();
// An error dialog showing this text, not shown yet, for a screenshot.
std::unique_ptr<Form> makeErrorDialog(const std::string& errorText);
