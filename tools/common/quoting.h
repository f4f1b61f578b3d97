#pragma once

#include <string>
#include <string_view>

// The text in double quotes, printable whatever it holds: \" and \\ for a quote and a backslash,
// \n \r \t for line feed, carriage return and tab, \u00XX for any other control character, and
// \xNN for a byte that is not part of well-formed UTF-8.
std::string quoted(std::string_view text);
