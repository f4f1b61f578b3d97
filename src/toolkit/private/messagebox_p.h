#pragma once

// Where a message box can be answered without a person (messagebox.cpp): the testing library
// installs an answer here, for tests and the screenshot programs. The program installs none, and
// the real boxes are shown.

#include <functional>
#include <string>

#include "toolkit/messagebox.h"

using MessageBoxAnswer = std::function<void(const std::string& text, const std::string& caption, MessageBoxIcon icon)>;
void answerMessageBoxesWith(MessageBoxAnswer answer);
