#pragma once
// What every converter fuzzer checks: the reader's entries go through the dictionary writer, and
// each line that it writes must load in the program as exactly the entry that was written.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "../tools/convert/decoding.h"
#include "../tools/convert/dictionary.h"
#include "model/wordlist.h"
#include "parser/dictionaryline.h"

class CheckedDictionary {
public:
    CheckedDictionary()
        : writer_("fuzz", reporter_, [this](std::string_view text) { text_.append(text); }),
          sink_([this](const Pair& pair) { take(pair); }) {}

    Reporter& reporter() { return reporter_; }
    const PairSink& sink() const { return sink_; }

    // Compares each written line, as the program would cut it, with the entry written.
    void check() {
        writer_.finish();
        std::size_t start = 0;
        for (int header = 0; header < 2; ++header) {
            start = text_.find('\n', start) + 1;
        }
        for (const auto& [words, translations] : written_) {
            const std::size_t end = text_.find('\n', start);
            const std::string line = text_.substr(start, end - start);
            start = end + 1;
            if (lineKindOf(line) != LineKind::entry || entryTextOf(line) != line) {
                std::abort();
            }
            const WordEntry entry = entryFromLine(line);
            if (entry.words() != words || entry.translations() != translations) {
                std::abort();
            }
        }
        if (start != text_.size()) {
            std::abort();
        }
    }

private:
    void take(const Pair& pair) {
        if (whyNotWritable(pair).empty()) {
            written_.push_back(
                {{pair.words.begin(), pair.words.end()}, {pair.translations.begin(), pair.translations.end()}});
        }
        writer_.add(pair);
    }

    // Reports go nowhere: the fuzzer only looks for crashes and for lines that load wrongly.
    static std::FILE* nowhere() {
        static std::FILE* const stream = std::fopen("/dev/null", "w");
        return stream;
    }

    Reporter reporter_{"fuzz", false, nowhere()};
    std::string text_;
    DictionaryWriter writer_;
    PairSink sink_;
    std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> written_;
};
