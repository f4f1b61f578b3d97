#pragma once

#include <string>
#include <string_view>

// Texts that Unicode holds to be the same (canonically equivalent) may be written with different
// bytes: "é" as one character or as "e" and a combining accent, a Hangul syllable as one character
// or as its letters. Editors, PDFs and keyboards do not agree on one form, so guesses are compared
// in the composed form (NFC), which is also the form that every way of typing delivers.

// The text in its composed form: the text itself when it is composed already (ASCII always is),
// otherwise a view of `storage`, which then holds the composed text. Bytes that are not
// well-formed UTF-8 are no Unicode text: such a text is returned as it is.
std::string_view canonicallyComposed(std::string_view text, std::string& storage);

// The form in which two texts are equal exactly when a guess of the one matches the other: composed,
// and the ASCII capitals A to Z taken as a to z. Nothing else folds: not the case of other letters,
// and not the compatibility forms (full-width letters, ligatures, no-break spaces).
std::string guessKey(std::string_view text);
