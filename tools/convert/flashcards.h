#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "table.h"

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

// Reads the header lines. Throws InputError for a separator it cannot name.
FlashcardExport flashcardExport(std::string_view text);

// The text that an HTML field shows: tags left out, entities decoded, <br> and block elements as
// spaces, and runs of white space (a no-break space too) as one space, as a browser shows them.
std::string htmlFieldText(std::string_view html);
