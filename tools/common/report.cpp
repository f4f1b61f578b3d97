#include "common/report.h"

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

void Reporter::print(const std::string& file, std::uint64_t line, const char* kind, const std::string& text) {
    printAtPlace(stream_, file.empty() ? fileName_ : file, line, kind + text);
}

void Reporter::skip(std::uint64_t line, const std::string& reason, const std::string& file) {
    if (strict_) {
        throw InputError(line, reason, file);
    }
    ++skipCount_;
    print(file, line, "skipped: ", reason);
}

void Reporter::warn(std::uint64_t line, const std::string& text) {
    print({}, line, "warning: ", text);
}

void Reporter::fail(const InputError& error) {
    print(error.file(), error.line(), "", error.what());
}
