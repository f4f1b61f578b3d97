// Times the loading of a large dictionary: a file of a million entries (ASCII, UTF-8 and ANSI
// lines, with comments) is written to a temporary folder, then read into a word list by the
// parser. `wc -l` on the same file gives the floor of what reading the bytes costs. The same lines
// spread over a few thousand files that one file imports show what each import adds.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/wordlist.h"
#include "parser/parser.h"

namespace {

constexpr std::uint32_t entryCount = 1'000'000;
constexpr int runs = 3;
constexpr std::uint32_t linesPerImport = 500;

struct Dictionary {
    std::uintmax_t fileBytes = 0;
    // What the entries hold as text once cut: the bytes of every word and translation.
    std::uint64_t itemBytes = 0;
};

// Every tenth line is in Windows-1252 and every fourth in UTF-8; a comment follows every third
// entry, and a comment line stands before every fiftieth.
Dictionary writeDictionary(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << "@title Benchmark\n@ver 1.0\n";
    Dictionary dictionary;
    std::uint32_t state = 12345;
    for (std::uint32_t entry = 0; entry < entryCount; ++entry) {
        state = state * 1664525u + 1013904223u;
        const std::string number = std::to_string(state % 100000);
        std::string word = "word" + number;
        std::string translation = "tr" + number;
        std::size_t utf8Extra = 0;
        if (entry % 10 == 0) {
            word += "\xE9";  // é in Windows-1252, two bytes in UTF-8
            utf8Extra = 1;
        } else if (entry % 4 == 0) {
            translation += "\xC3\xBC\xC3\x9F";  // üß
        }
        if (entry % 50 == 0) {
            out << "; a comment line\n";
        }
        out << word << " = " << translation;
        if (entry % 3 == 0) {
            out << " ; note";
        }
        out << '\n';
        dictionary.itemBytes += word.size() + utf8Extra + translation.size();
    }
    out.close();
    dictionary.fileBytes = std::filesystem::file_size(file);
    return dictionary;
}

// Writes the lines of the large file into files of linesPerImport lines, all imported by `spread`,
// and returns how many there are.
std::uint32_t writeSpreadDictionary(const std::filesystem::path& large, const std::filesystem::path& spread) {
    std::ifstream in(large, std::ios::binary);
    std::ofstream importing(spread, std::ios::binary);
    std::ofstream partFile;
    std::string line;
    std::uint32_t lineCount = 0;
    for (; std::getline(in, line); ++lineCount) {
        if (lineCount % linesPerImport == 0) {
            const std::string part = "part" + std::to_string(lineCount / linesPerImport) + ".txt";
            importing << "@import " << part << '\n';
            partFile = std::ofstream(spread.parent_path() / part, std::ios::binary);
        }
        partFile << line << '\n';
    }
    return (lineCount + linesPerImport - 1) / linesPerImport;
}

std::size_t heapBytesInUse() {
    return mallinfo2().uordblks;
}

long peakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// Takes the entry lines and the title from the parser and keeps nothing: what is left of the
// time is the parser's own share, reading, decoding and sorting the lines.
class DiscardingWordList : public WordList {
public:
    void addEntry(const std::string& line) override { entryBytes_ += line.size(); }
    void setTitle(const std::string&) override {}
    std::uint64_t entryBytes() const { return entryBytes_; }

private:
    std::uint64_t entryBytes_ = 0;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The shortest of the timed parses of the file into a new word list of the given kind; each list
// is checked by isRight after its parse, outside the time.
template <class Words, class IsRight>
double bestParseInto(const std::filesystem::path& file, IsRight isRight, bool& failed) {
    double best = 1e9;
    for (int run = 0; run < runs && !failed; ++run) {
        Words words;
        const auto start = std::chrono::steady_clock::now();
        Parser(file.string(), words).parse();
        best = std::min(best, secondsSince(start));
        failed = !isRight(words);
    }
    return best;
}

}  // namespace

int main() {
    std::string folderName = (std::filesystem::temp_directory_path() / "verbaro-parse-bench-XXXXXX").string();
    if (::mkdtemp(folderName.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = folderName;
    const std::filesystem::path file = folder / "large.txt";
    const Dictionary dictionary = writeDictionary(file);

    double bestParse = 1e9;
    double heapPerEntry = 0;
    bool failed = false;
    for (int run = 0; run < runs && !failed; ++run) {
        const std::size_t heapBefore = heapBytesInUse();
        WordList words;
        const auto start = std::chrono::steady_clock::now();
        try {
            Parser(file.string(), words).parse();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "parse failed: %s\n", error.what());
            failed = true;
            break;
        }
        bestParse = std::min(bestParse, secondsSince(start));
        heapPerEntry = static_cast<double>(heapBytesInUse() - heapBefore) / entryCount;
        if (words.remainingCount() != entryCount || words.title() != "Benchmark") {
            std::fprintf(stderr, "parse read %u entries, expected %u\n", words.remainingCount(), entryCount);
            failed = true;
        }
    }

    const double bestParseOnly = bestParseInto<DiscardingWordList>(
        file, [](const DiscardingWordList& words) { return words.entryBytes() != 0; }, failed);

    const std::filesystem::path spread = folder / "spread.txt";
    const std::uint32_t importCount = writeSpreadDictionary(file, spread);
    const double bestSpread = bestParseInto<WordList>(
        spread, [](const WordList& words) { return words.remainingCount() == entryCount; }, failed);

    double bestCount = 1e9;
    const std::string countCommand = "wc -l < '" + file.string() + "' > /dev/null";
    for (int run = 0; run < runs && !failed; ++run) {
        const auto start = std::chrono::steady_clock::now();
        failed = std::system(countCommand.c_str()) != 0;
        bestCount = std::min(bestCount, secondsSince(start));
    }
    std::filesystem::remove_all(folder);
    if (failed) {
        return 1;
    }

    const double megabytes = static_cast<double>(dictionary.fileBytes) / 1e6;
    const double itemBytesPerEntry = static_cast<double>(dictionary.itemBytes) / entryCount;
    std::printf("parser: %u entries, %.1f MB file, best of %d runs\n", entryCount, megabytes, runs);
    std::printf("  parse and fill:      %8.1f ms  %7.1f MB/s\n", bestParse * 1e3, megabytes / bestParse);
    std::printf("  parse, nothing kept: %8.1f ms  %7.1f MB/s\n", bestParseOnly * 1e3, megabytes / bestParseOnly);
    std::printf("  in %5u imports:    %8.1f ms  %7.1f MB/s\n", importCount, bestSpread * 1e3, megabytes / bestSpread);
    std::printf("  wc -l (floor):       %8.1f ms  %7.1f MB/s\n", bestCount * 1e3, megabytes / bestCount);
    std::printf("  peak resident:       %8.1f MB\n", static_cast<double>(peakResidentKilobytes()) / 1024);
    std::printf("  heap per entry:      %8.1f bytes (%.1f of them item text, %.1f beyond it)\n", heapPerEntry,
                itemBytesPerEntry, heapPerEntry - itemBytesPerEntry);
    return 0;
}
