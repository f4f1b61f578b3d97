#pragma once

#include <string>
#include <string_view>

// Converts text in the ANSI code page, which is Windows-1252 here whatever the locale says, to
// UTF-8. `utf8` is overwritten; passing the same string for every line keeps its storage.
// The five bytes that Windows-1252 leaves undefined (81, 8D, 8F, 90, 9D) become the C1 control
// characters of the same number, as the Windows conversion does.
void convertAnsiToUtf8(std::string_view ansi, std::string& utf8);
