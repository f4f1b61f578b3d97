// Times whole drills as the window runs them: every step draws an entry, takes one wrong guess
// and marks the entry answered, until none remains. Drawing walks the remaining entries to the
// drawn position, so a drill costs about n * n / 2 node visits in all. Beside them, single guesses
// against one entry, where what a comparison of texts costs shows by itself: ASCII, and words
// written decomposed in the file against a guess typed composed, which has to be composed first.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/wordlist.h"

namespace {

// An entry's line, and a wrong guess for it, as the learner would type it.
struct Words {
    const char* name;
    std::string (*line)(const std::string& number);
    const char* wrongGuess;
};

const Words ascii{"ASCII", [](const std::string& number) { return "word" + number + " = translation" + number; },
                  "wrong"};
// Vietnamese written decomposed: "tiếng Việt" with its marks as combining characters.
const Words decomposed{
    "decomposed",
    [](const std::string& number) { return "tie\u0302\u0301ng" + number + " = Vie\u0323\u0302t" + number; },
    "Vi\u1EC7t"};

struct DrillSize {
    const Words* words;
    std::uint32_t entries;
    int runs;
};

// One drill of the large size already takes a minute or more.
const DrillSize sizes[] = {{&ascii, 10'000, 5}, {&decomposed, 10'000, 5}, {&ascii, 100'000, 1}};

constexpr int guessesTimed = 1'000'000;

// Returns the nanoseconds per step of one drill, or a negative number when it went wrong.
double drillNanosecondsPerStep(const Words& kind, std::uint32_t entries) {
    WordList words;
    for (std::uint32_t entry = 0; entry < entries; ++entry) {
        words.addEntry(kind.line(std::to_string(entry)));
    }
    words.setNormalMode(true);

    const auto start = std::chrono::steady_clock::now();
    std::uint32_t steps = 0;
    while (words.drawNext()) {
        words.guess(kind.wrongGuess);
        words.markAnswered();
        ++steps;
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;

    if (steps != entries || words.answeredCount() != entries || words.incorrectCount() != entries) {
        return -1;
    }
    return elapsed.count() / steps;
}

// The nanoseconds of one wrong guess against the one entry of a list, or a negative number when a
// guess was taken as right.
double guessNanoseconds(const Words& kind) {
    WordList words;
    words.addEntry(kind.line("1"));
    words.setNormalMode(true);
    words.drawNext();
    const auto start = std::chrono::steady_clock::now();
    for (int guess = 0; guess < guessesTimed; ++guess) {
        words.guess(kind.wrongGuess);
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    return words.incorrectCount() == guessesTimed ? elapsed.count() / guessesTimed : -1;
}

}  // namespace

int main() {
    for (const DrillSize& size : sizes) {
        std::vector<double> runs;
        for (int run = 0; run < size.runs; ++run) {
            const double nanoseconds = drillNanosecondsPerStep(*size.words, size.entries);
            if (nanoseconds < 0) {
                std::fprintf(stderr, "drill of %u entries did not answer every entry once\n", size.entries);
                return 1;
            }
            runs.push_back(nanoseconds);
        }
        std::sort(runs.begin(), runs.end());
        std::printf("drill of %7u %-10s entries: median %10.0f ns/step (fastest %.0f, slowest %.0f; %d runs)\n",
                    size.entries, size.words->name, runs[runs.size() / 2], runs.front(), runs.back(), size.runs);
    }
    for (const Words* kind : {&ascii, &decomposed}) {
        const double nanoseconds = guessNanoseconds(*kind);
        if (nanoseconds < 0) {
            std::fprintf(stderr, "a wrong %s guess was taken as right\n", kind->name);
            return 1;
        }
        std::printf("one wrong guess, %-10s entry: %8.1f ns (%d guesses)\n", kind->name, nanoseconds, guessesTimed);
    }
    return 0;
}
