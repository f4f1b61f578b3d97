#include "parser/report.h"

std::string placeText(std::string_view file, std::uint64_t line) {
    std::string place(file);
    if (line != 0) {
        place += ':';
        place += std::to_string(line);
    }
    return place;
}

void printAtPlace(std::FILE* stream, std::string_view file, std::uint64_t line, std::string_view text) {
    std::string report = placeText(file, line);
    report += ": ";
    report += text;
    report += '\n';
    std::fwrite(report.data(), 1, report.size(), stream);
}
