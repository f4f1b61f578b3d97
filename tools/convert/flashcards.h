#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table.h"
#include "tableentries.h"

// A flashcard program's plain-text export of notes: "#key:value" header lines, then one note a
// line with its fields split by the separator that the header names.
struct FlashcardExport {
    char separator = '\t';
    bool html = false;
    // 0-based columns that hold no note field (identifier, note type, deck, tags).
    std::vector<std::size_t> otherColumns;
    // The notes: the text after the header lines, and the number of its first line in the file.
    std::string_view notes;
    std::uint64_t firstNoteLine = 1;
};

// Whether the text starts with a header line of such an export.
bool looksLikeFlashcards(std::string_view text);

// Reads the header lines. Throws InputError for a separator or a column it cannot name.
FlashcardExport flashcardExport(std::string_view text);

// Reads an export's notes as entries. Columns count the note's fields, as the default (its first
// two fields) does; lines that start with "#" are comments; "[sound:...]" is left out of every field.
void readFlashcards(std::string_view text, const TableOptions& options, Reporter& reporter, const PairSink& sink);

// The text that an HTML field shows: tags left out, entities decoded, <br> and block elements as
// spaces, and runs of white space (a no-break space too) as one space, as a browser shows them.
// Adds the images, sounds and other media elements it leaves out to `media` when given.
std::string htmlFieldText(std::string_view html, std::size_t* media = nullptr);

// The text without the "[sound:FILE]" references that a flashcard program plays, each with the
// white space before it, in `out`; returns how many there were (and leaves `out` alone if none).
std::size_t withoutSoundReferences(std::string_view text, std::string& out);
