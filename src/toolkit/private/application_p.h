#pragma once

// The message loop shared by the main loop and the nested loop of a modal display (application.cpp).

#include <functional>

enum class LoopDepth { Main, Nested };

// Dispatches the thread's messages, pass after pass, until `finished` holds or a quit message
// has been taken. An exception that escapes a pass is reported and the loop goes on.
void runMessagePasses(LoopDepth depth, const std::function<bool()>& finished);
