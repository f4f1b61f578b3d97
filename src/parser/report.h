#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// How the command-line tools name a place in a file: "FILE:LINE", or "FILE" alone for line 0,
// when no single line is meant.
std::string placeText(std::string_view file, std::uint64_t line);

// Prints "PLACE: TEXT" as one line on the stream, the place as placeText() names it.
void printAtPlace(std::FILE* stream, std::string_view file, std::uint64_t line, std::string_view text);
