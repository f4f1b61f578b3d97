#pragma once

#include <string>
#include <string_view>

#include "common/report.h"

// The bytes as UTF-8 text, without a byte order mark. An empty `encoding` means: a UTF-8, UTF-16
// or UTF-32 byte order mark names the encoding; without one each line is decided on its own, as
// the program decides for a dictionary: well-formed UTF-8 stays, any other line is read as
// Windows-1252 and reported (each such line when the file has UTF-8 lines too, else once). Any
// other name is handed to iconv. Throws InputError for an unknown encoding or for bytes that are
// not text in the encoding named.
// The text is the bytes themselves where they can be, else kept in `converted`.
std::string_view decodedText(std::string_view bytes, const std::string& encoding, Reporter& reporter,
                             std::string& converted);
