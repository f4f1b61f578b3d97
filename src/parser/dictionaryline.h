#pragma once

#include <string>
#include <string_view>

// What one line of a dictionary is, once decoded and stripped: blank, a directive (it starts with
// "@" and has no comment part), a comment (it starts with ";"), or an entry, whose text ends at its
// first ";".
enum class LineKind { blank, directive, comment, entry };

constexpr char directiveMark = '@';
constexpr char commentMark = ';';

// The directive keywords, matched at the start of a line ignoring the case of A to Z, in this order.
constexpr std::string_view titleKeyword = "@title";
constexpr std::string_view importKeyword = "@import";
constexpr std::string_view versionKeyword = "@ver";
// The one format version read.
constexpr std::string_view formatVersion = "1.0";

inline LineKind lineKindOf(std::string_view line) {
    if (line.empty()) {
        return LineKind::blank;
    }
    if (line.front() == directiveMark) {
        return LineKind::directive;
    }
    return line.front() == commentMark ? LineKind::comment : LineKind::entry;
}

// The entry text of an entry line: everything before its first ";", white space before it included.
inline std::string_view entryTextOf(std::string_view line) {
    return line.substr(0, line.find(commentMark));
}

// A directive line as it is best written: the keyword, a space, the argument.
inline std::string directiveLine(std::string_view keyword, std::string_view argument) {
    std::string line(keyword);
    line += ' ';
    line += argument;
    return line;
}
