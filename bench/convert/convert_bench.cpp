// Times verbaro-convert turning a table of a million rows into a dictionary, side by side with
// `wc -l` on the same file, which gives the floor of what reading the bytes costs; then the same
// table with one byte in its middle that is not UTF-8, which has every line decoded on its own.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr std::uint32_t rowCount = 1'000'000;
constexpr int runs = 3;

// A spreadsheet's export: word, translation and an alternative; every fifth row quotes a field
// with a doubled quote in it, every fourth holds UTF-8 letters.
void writeTable(const std::filesystem::path& file, bool strayByte) {
    std::ofstream out(file, std::ios::binary);
    out << "word,translation,alternative\n";
    std::uint32_t state = 12345;
    for (std::uint32_t row = 0; row < rowCount; ++row) {
        state = state * 1664525u + 1013904223u;
        const std::string number = std::to_string(state % 100000);
        out << "word" << number << (row % 4 == 0 ? "\xC3\xA5\xC3\xA4" : "") << ',';
        if (row % 5 == 0) {
            out << "\"a \"\"quoted\"\" translation " << number << "\"";
        } else {
            out << "translation" << number;
        }
        out << ",alternative " << number << (strayByte && row == rowCount / 2 ? "\xE9" : "") << '\n';
    }
}

struct Timing {
    double wallSeconds = 1e9;
    // User and system time of the command's processes: on a busy machine this says more than the
    // wall clock, which also counts the time spent waiting for a processor.
    double processorSeconds = 1e9;
};

double childProcessorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
         + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

Timing bestTiming(const std::string& command, bool& failed) {
    Timing best;
    for (int run = 0; run < runs && !failed; ++run) {
        const double processorBefore = childProcessorSeconds();
        const auto start = std::chrono::steady_clock::now();
        failed = std::system(command.c_str()) != 0;
        best.wallSeconds =
            std::min(best.wallSeconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        best.processorSeconds = std::min(best.processorSeconds, childProcessorSeconds() - processorBefore);
    }
    return best;
}

void printTiming(const char* name, const Timing& timing, double megabytes) {
    std::printf("  %-15s %8.1f ms %7.1f MB/s wall clock, %8.1f ms %7.1f MB/s processor\n", name,
                timing.wallSeconds * 1e3, megabytes / timing.wallSeconds, timing.processorSeconds * 1e3,
                megabytes / timing.processorSeconds);
}

}  // namespace

int main() {
    std::string folderName = (std::filesystem::temp_directory_path() / "verbaro-convert-bench-XXXXXX").string();
    if (::mkdtemp(folderName.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = folderName;
    const std::filesystem::path table = folder / "large.csv";
    const std::filesystem::path dictionary = folder / "large.txt";
    const std::string command =
        "'" VERBARO_CONVERT "' --header --columns 1,2,3 '" + table.string() + "' -o '" + dictionary.string() + "'";
    writeTable(table, false);

    bool failed = false;
    const Timing convert = bestTiming(command, failed);
    const Timing count = bestTiming("wc -l < '" + table.string() + "' > /dev/null", failed);
    const std::uintmax_t tableBytes = std::filesystem::file_size(table);
    const std::uintmax_t dictionaryBytes = failed ? 0 : std::filesystem::file_size(dictionary);
    writeTable(table, true);
    const Timing strayByte = bestTiming(command + " 2>/dev/null", failed);
    std::filesystem::remove_all(folder);
    if (failed) {
        std::fprintf(stderr, "convert_bench: a run failed\n");
        return 1;
    }

    const double megabytes = static_cast<double>(tableBytes) / 1e6;
    std::printf("verbaro-convert: CSV of %u rows, %.1f MB, to a %.1f MB dictionary, best of %d runs\n", rowCount,
                megabytes, static_cast<double>(dictionaryBytes) / 1e6, runs);
    printTiming("convert:", convert, megabytes);
    printTiming("wc -l (floor):", count, megabytes);
    printTiming("one stray byte:", strayByte, megabytes);
    std::printf("  convert / wc -l: %.1f times as long by the wall clock, %.1f by processor time\n",
                convert.wallSeconds / count.wallSeconds, convert.processorSeconds / count.processorSeconds);
    return 0;
}
