// Times whole drills as the window runs them: every step draws an entry, takes one wrong guess
// and marks the entry answered, until none remains. Drawing walks the remaining entries to the
// drawn position, so a drill costs about n * n / 2 node visits in all.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/wordlist.h"

namespace {

struct DrillSize {
    std::uint32_t entries;
    int runs;
};

// One drill of the large size already takes a minute or more.
constexpr DrillSize sizes[] = {{10'000, 5}, {100'000, 1}};

// Returns the nanoseconds per step of one drill, or a negative number when it went wrong.
double drillNanosecondsPerStep(std::uint32_t entries) {
    WordList words;
    for (std::uint32_t entry = 0; entry < entries; ++entry) {
        const std::string number = std::to_string(entry);
        words.addEntry("word" + number + " = translation" + number);
    }
    words.setNormalMode(true);

    const auto start = std::chrono::steady_clock::now();
    std::uint32_t steps = 0;
    while (words.drawNext()) {
        words.guess("wrong");
        words.markAnswered();
        ++steps;
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;

    if (steps != entries || words.answeredCount() != entries || words.incorrectCount() != entries) {
        return -1;
    }
    return elapsed.count() / steps;
}

}  // namespace

int main() {
    for (const DrillSize& size : sizes) {
        std::vector<double> runs;
        for (int run = 0; run < size.runs; ++run) {
            const double nanoseconds = drillNanosecondsPerStep(size.entries);
            if (nanoseconds < 0) {
                std::fprintf(stderr, "drill of %u entries did not answer every entry once\n", size.entries);
                return 1;
            }
            runs.push_back(nanoseconds);
        }
        std::sort(runs.begin(), runs.end());
        std::printf("drill of %7u entries: median %10.0f ns/step (fastest %.0f, slowest %.0f; %d runs)\n", size.entries,
                    runs[runs.size() / 2], runs.front(), runs.back(), size.runs);
    }
    return 0;
}
