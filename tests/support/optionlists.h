#pragma once

#include <cstddef>
#include <set>
#include <string>

namespace testsupport {

// The options that a tool's usage text names, each as "--name VALUE" or "--name", from its lines
// "  -s, --long VALUE  help", whose synopsis takes the first synopsisWidth characters.
std::set<std::string> optionsInUsage(const std::string& usage, std::size_t synopsisWidth);

// The options that a manual page names, in the same form, from the line after each ".TP" of its
// OPTIONS section. "--", the end of the options, is no option and is left out.
std::set<std::string> optionsInManualPage(const std::string& path);

}  // namespace testsupport
