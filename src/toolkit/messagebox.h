#pragma once

// The system's message box.

#include <string>

enum class MessageBoxIcon { Error = 0x10, Warning = 0x30, Information = 0x40 };

// A modal message box with one OK button, owned by the active window (none if there is none).
void messageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon);
