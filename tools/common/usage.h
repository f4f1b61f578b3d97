#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One option's lines in a tool's usage text: "  -s, --long VALUE" padded to the column in which
// the help starts, then the help, whose lines are parted by "\n", each further line indented to
// that column. The tools' tables of options write their usage texts through this, so that every
// option is shown alike.
std::string optionUsage(std::string_view shortName, std::string_view longName, std::string_view valueName,
                        std::string_view help, std::size_t synopsisWidth);
