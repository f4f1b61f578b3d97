#pragma once

#include <string_view>

// Whether the bytes are well-formed UTF-8 by RFC 3629: no stray continuation bytes, no C0, C1 or
// F5..FF lead bytes, no overlong forms, no surrogates, nothing above U+10FFFF, and no sequence cut
// off by the end of the text.
bool isWellFormedUtf8(std::string_view text);
