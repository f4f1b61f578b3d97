#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/report.h"
#include "dictionary.h"
#include "table.h"

// What the command line says about reading a table or a flashcard export.
struct TableOptions {
    // 0 when the input names it or it is to be guessed.
    char separator = 0;
    // The first record is a header, not an entry.
    bool header = false;
    // 0-based, as the user counts: the word column, then the translation columns. Empty for the
    // first two.
    std::vector<std::size_t> columns;
    // The characters that part alternatives inside a cell; empty: a cell is one item.
    std::string alternatives;
};

// Where the entries stand in the records, and how their cells read.
struct RecordLayout {
    // The record's columns that are not counted as the user counts them (a flashcard export's
    // identifier, note type, deck and tags columns), ascending.
    std::vector<std::size_t> uncounted;
    // What the user calls a counted column.
    std::string_view noun = "column";
    char separator = ',';
    bool html = false;
    // Leaves "[sound:...]" out of every cell, as a flashcard program plays it instead of showing it.
    bool mediaReferences = false;
    // A first record of the header row that the tables of dictionaries have is no entry, and
    // makes "," part alternatives unless the options say otherwise.
    bool ownHeader = false;
};

// Builds the entries from the records of a table: the words from one column, the translations
// from others. Reports records too short to hold both, empty cells between filled ones, empty
// alternatives, and, once at the end, columns that had text and were not read.
class EntriesFromRecords {
public:
    EntriesFromRecords(const TableOptions& options, RecordLayout layout, Reporter& reporter, const PairSink& sink);

    void take(const Record& record);
    // The reports that are made once per file.
    void finish();

private:
    std::size_t counted(std::size_t column) const;
    std::size_t recordColumn(std::size_t countedColumn) const;
    bool isOwnHeader(const Record& record) const;
    bool tooShort(const Record& record);
    // The text of the cell that the index-th column read holds; it stays valid for the record.
    std::string_view cellText(std::size_t index, std::string_view field, std::uint64_t line);
    void noteUnread(const Record& record);

    RecordLayout layout_;
    std::vector<std::size_t> columns_;  // of the record, as the user's columns map to them
    std::string alternatives_;
    bool alternativesGiven_;
    bool skipNext_;
    bool firstRecord_ = true;
    Reporter& reporter_;
    const PairSink& sink_;
    Pair pair_;
    std::string withoutMedia_;
    std::vector<std::string> shown_;  // by column read, when the cell is not the field as it is

    std::size_t mostCountedColumns_ = 0;
    bool separatorHinted_ = false;
    std::vector<bool> read_;            // by record column: read or uncounted
    std::vector<bool> unreadWithText_;  // by record column
    std::uint64_t recordsWithUnreadText_ = 0;
    std::uint64_t cellsWithMedia_ = 0;
    std::uint64_t firstMediaLine_ = 0;
};

// Reads a table: a first line "sep=X" names the separator; without it or --separator the
// separator is `formatSeparator`, or guessed when that is 0.
void readTable(std::string_view text, char formatSeparator, const TableOptions& options, Reporter& reporter,
               const PairSink& sink);
