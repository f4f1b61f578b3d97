#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// One option's lines in a tool's usage text: "  -s, --long VALUE" padded to the column in which
// the help starts, then the help, whose lines are parted by "\n", each further line indented to
// that column. The tools' tables of options write their usage texts through this, so that every
// option is shown alike.
std::string optionUsage(std::string_view shortName, std::string_view longName, std::string_view valueName,
                        std::string_view help, std::size_t synopsisWidth);

// The option of a tool's table that is written so, by its long or its short name; null for none.
// `Option` is the tool's own, with a shortName (empty for none) and a longName.
template <class Option>
const Option* optionNamed(std::span<const Option> table, std::string_view name) {
    for (const Option& option : table) {
        if (name == option.longName || (!option.shortName.empty() && name == option.shortName)) {
            return &option;
        }
    }
    return nullptr;
}
