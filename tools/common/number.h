#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// A number written in the digits 0 to 9 alone, at most six of them ("3", "012"); nothing for
// anything else, signs and spaces included.
std::optional<std::size_t> plainNumber(std::string_view text);
