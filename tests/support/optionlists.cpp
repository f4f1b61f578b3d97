#include "support/optionlists.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace testsupport {

namespace {

// The options that a synopsis such as "-o, --output FILE" names, as "-o FILE" and "--output FILE":
// a name without a value of its own takes the one that follows it.
std::set<std::string> optionsNamed(std::string_view synopsis) {
    synopsis = synopsis.substr(0, synopsis.find_last_not_of(' ') + 1);
    std::vector<std::string> names;
    std::set<std::string> options;
    for (std::size_t start = 0; start < synopsis.size();) {
        const std::size_t end = std::min(synopsis.find(", ", start), synopsis.size());
        const std::string_view part = synopsis.substr(start, end - start);
        const std::size_t space = part.find(' ');
        names.emplace_back(part.substr(0, space));
        if (space != std::string_view::npos) {
            for (const std::string& name : names) {
                options.insert(name + std::string(part.substr(space)));
            }
            names.clear();
        }
        start = end + 2;
    }
    options.insert(names.begin(), names.end());
    return options;
}

// A line of a manual page as it reads: "\fB\-o\fR" is "-o".
std::string withoutFontEscapes(const std::string& line) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line.compare(i, 2, "\\f") == 0 && i + 2 < line.size()) {
            i += 2;
        } else if (line.compare(i, 2, "\\-") == 0) {
            text += '-';
            ++i;
        } else {
            text += line[i];
        }
    }
    return text;
}

}  // namespace

std::set<std::string> optionsInUsage(const std::string& usage, std::size_t synopsisWidth) {
    std::set<std::string> options;
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("  -")) {
            options.merge(optionsNamed(line.substr(2, synopsisWidth)));
        }
    }
    return options;
}

std::set<std::string> optionsInManualPage(const std::string& path) {
    std::set<std::string> options;
    std::ifstream page(path);
    bool inOptions = false;
    bool afterParagraphMark = false;
    for (std::string line; std::getline(page, line);) {
        if (line.starts_with(".SH")) {
            inOptions = line == ".SH OPTIONS";
        } else if (inOptions && afterParagraphMark) {
            options.merge(optionsNamed(withoutFontEscapes(line)));
        }
        afterParagraphMark = inOptions && line == ".TP";
    }
    options.erase("--");
    return options;
}

}  // namespace testsupport
