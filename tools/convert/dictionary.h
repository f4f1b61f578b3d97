#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/report.h"

// One entry read from another format: the line where it stands in the input, its words (the first
// one asked) and its translations (the first one shown, every one accepted). Texts are UTF-8 and
// stripped; they are the reader's, valid while the pair is handed on.
struct Pair {
    std::uint64_t line = 0;
    std::vector<std::string_view> words;
    std::vector<std::string_view> translations;
};

using PairSink = std::function<void(const Pair&)>;

// The header row of the tables made of dictionaries: one cell of words and one of translations,
// alternatives parted by ", ". A table that starts with this row is read the same way back.
constexpr std::string_view wordsHeader = "words (separated by commas)";
constexpr std::string_view translationsHeader = "translations (separated by commas)";

// Appends the items of a cell to a side of an entry: the whole cell, stripped, or with
// `separators` the stripped pieces between any of those characters. Empty items are left out;
// returns how many were.
std::size_t appendItems(std::string_view cell, std::string_view separators, std::vector<std::string_view>& items);

// Why a dictionary line cannot hold the entry exactly as it stands; empty when it can.
std::string whyNotWritable(const Pair& pair);

// Writes a dictionary file: "@ver 1.0", the title, then one "word, word = translation, ..." line
// for every entry that the format can hold; the others go to the reporter. The text goes to the
// output a block at a time, the last one on finish().
class DictionaryWriter {
public:
    DictionaryWriter(const std::string& title, Reporter& reporter, std::function<void(std::string_view)> output);

    void add(const Pair& pair);
    void finish();
    std::uint64_t entryCount() const { return entryCount_; }

private:
    Reporter& reporter_;
    std::function<void(std::string_view)> output_;
    std::string text_;
    std::uint64_t entryCount_ = 0;
};

// Reads a dictionary with its imports as the program does and hands out, in reading order, each
// entry as a table row of two cells: its words and its translations, each joined by ", ". Throws
// InputError (with the file that failed in its message) when the dictionary cannot be read.
void readDictionaryRows(const std::string& fileName, const std::function<void(const std::vector<std::string>&)>& sink);
