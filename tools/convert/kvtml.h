#pragma once

#include <string>
#include <string_view>

#include "dictionary.h"

// Which two languages of a kvtml file become word and translation. Each names an identifier by
// its id, locale or name, tried in that order, or by its position counted from 0. When one is
// empty it is the first identifier that the other does not name; both empty: the first two.
struct LanguageChoice {
    std::string from;
    std::string to;
};

// Reads a kvtml 2 vocabulary document and hands out one pair for each entry, with the line of the
// entry element; `alternatives`, when not empty, parts the alternatives inside a text. Entity
// declarations are refused before anything is expanded, and nothing outside the document is
// loaded. `encoding` overrides the document's own when not empty. Throws InputError for a
// document that is not well-formed, declares entities or is not kvtml 2, and WrongUsage when both
// sides would be one language.
void readKvtml(std::string_view bytes, const std::string& encoding, const LanguageChoice& languages,
               std::string_view alternatives, Reporter& reporter, const PairSink& sink);
