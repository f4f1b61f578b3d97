#include "common/usage.h"

#include <algorithm>

std::string optionUsage(std::string_view shortName, std::string_view longName, std::string_view valueName,
                        std::string_view help, std::size_t synopsisWidth) {
    std::string synopsis(shortName);
    synopsis += synopsis.empty() ? "" : ", ";
    synopsis += longName;
    synopsis += valueName.empty() ? "" : " ";
    synopsis += valueName;
    synopsis.resize(std::max(synopsis.size(), synopsisWidth), ' ');
    const std::string helpIndent(synopsisWidth, ' ');
    std::string text;
    for (std::string_view indent = synopsis;; indent = helpIndent) {
        const std::size_t end = std::min(help.find('\n'), help.size());
        text += "  ";
        text += indent;
        text += ' ';
        text += help.substr(0, end);
        text += '\n';
        if (end == help.size()) {
            return text;
        }
        help.remove_prefix(end + 1);
    }
}
