#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "kvtml.h"
#include "tableentries.h"

enum class Format { guessed, csv, tsv, kvtml, flashcards, dictionary };

struct ConvertOptions {
    std::string input;
    // "-" for standard output.
    std::string output = "-";
    Format format = Format::guessed;
    // Only csv and tsv, for a dictionary read; guessed from the output's extension otherwise.
    Format tableFormat = Format::guessed;
    // How tables and flashcard exports are read; the separator also serves the table written.
    TableOptions table;
    std::string encoding;
    LanguageChoice languages;
    // The dictionary's title; the input's file name without its extension when not given.
    std::string title;
    bool titleGiven = false;
    bool strict = false;
};

// The format of the input by its name and its first bytes, for when none is named.
Format guessedFormat(const std::string& fileName, std::string_view bytes);

// Does the conversion and writes the output only when all of it succeeded: to a file through a
// temporary file beside it, so that no partial output is ever left behind. Errors go to standard
// error as "FILE:LINE: message". Returns the exit status: 0 done, 1 failed (also when every entry
// was left out), 2 for options that do not fit the input.
int convert(const ConvertOptions& options);
