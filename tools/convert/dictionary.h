#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One entry read from another format: the line where it stands in the input, the word asked, and
// its translations, the first one shown and every one accepted. Texts are UTF-8 and stripped.
struct Pair {
    std::uint64_t line = 0;
    std::string word;
    std::vector<std::string> translations;
};

using PairSink = std::function<void(const Pair&)>;

// Why a dictionary line cannot hold the entry exactly as it stands; empty when it can.
std::string whyNotWritable(const Pair& pair);

// Where the conversion tells about entries that it leaves out.
struct Reporter {
    std::string fileName;
    // Leaving an entry out is an error rather than a warning.
    bool strict = false;

    // Prints "FILE:LINE: skipped: REASON" on standard error, or throws InputError when strict.
    // `file` names an imported file; empty for the input file itself.
    void skip(std::uint64_t line, const std::string& reason, const std::string& file = {}) const;
};

// Collects a dictionary file: "@ver 1.0", the title, then one "word = translation, ..." line for
// every entry that the format can hold; the others go to the reporter.
class DictionaryWriter {
public:
    DictionaryWriter(const std::string& title, const Reporter& reporter);

    void add(const Pair& pair);
    const std::string& text() const { return text_; }

private:
    const Reporter& reporter_;
    std::string text_;
};

// Reads a dictionary with its imports as the program does and hands out, in reading order, each
// entry as a table row: the word, then the translations. An entry with other than one word is
// reported and left out. Throws InputError (with the file that failed in its message) when the
// dictionary cannot be read.
void readDictionaryRows(const std::string& fileName, const Reporter& reporter,
                        const std::function<void(const std::vector<std::string>&)>& sink);
