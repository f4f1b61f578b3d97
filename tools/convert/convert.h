#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "kvtml.h"

enum class Format { guessed, csv, tsv, kvtml, flashcards, dictionary };

struct ConvertOptions {
    std::string input;
    // "-" for standard output.
    std::string output = "-";
    Format format = Format::guessed;
    // Only csv and tsv, for a dictionary read; guessed from the output's extension otherwise.
    Format tableFormat = Format::guessed;
    // 0 when the separator is to be guessed.
    char separator = 0;
    std::string encoding;
    bool header = false;
    // 0-based: the word column, then the translation columns. Empty for the default.
    std::vector<std::size_t> columns;
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
// error as "FILE:LINE: message". Returns the exit status: 0 done, 1 failed, 2 for a table asked of
// something that is not a dictionary.
int convert(const ConvertOptions& options);
