#include "model/normalization.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>

#include "model/text.h"
#include "program/exception.h"

namespace {

void throwOnFailure(UErrorCode status) {
    if (status == U_MEMORY_ALLOCATION_ERROR) {
        throw std::bad_alloc();
    }
    if (U_FAILURE(status)) {
        throw Exception(std::string("Unicode composition failed: ") + u_errorName(status));
    }
}

const UNormalizer2* composition() {
    static const UNormalizer2* const normalizer = [] {
        UErrorCode status = U_ZERO_ERROR;
        const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
        throwOnFailure(status);
        return nfc;
    }();
    return normalizer;
}

}  // namespace

std::string_view canonicallyComposed(std::string_view text, std::string& storage) {
    // ICU counts in 32 bits; a text beyond that (a third of it, as UTF-8 of UTF-16) is no word
    // that anyone types, and keeps its bytes.
    if (isAscii(text) || text.size() > std::numeric_limits<std::int32_t>::max() / 3) {
        return text;
    }
    // A UTF-8 text has at most as many UTF-16 units as bytes.
    std::u16string utf16(text.size(), u'\0');
    std::int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(utf16.data(), static_cast<std::int32_t>(utf16.size()), &length, text.data(),
                  static_cast<std::int32_t>(text.size()), &status);
    if (status == U_INVALID_CHAR_FOUND) {
        return text;
    }
    throwOnFailure(status);
    utf16.resize(length);
    const UNormalizer2* nfc = composition();
    if (unorm2_isNormalized(nfc, utf16.data(), length, &status) && U_SUCCESS(status)) {
        return text;
    }
    throwOnFailure(status);
    // Composing rarely lengthens a text; when it does, the first call tells by how much.
    std::u16string composed(utf16.size(), u'\0');
    std::int32_t composedLength = unorm2_normalize(nfc, utf16.data(), length, composed.data(),
                                                   static_cast<std::int32_t>(composed.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        composed.resize(composedLength);
        composedLength = unorm2_normalize(nfc, utf16.data(), length, composed.data(), composedLength, &status);
    }
    throwOnFailure(status);
    // Each UTF-16 unit becomes at most three bytes of UTF-8.
    storage.resize(3 * static_cast<std::size_t>(composedLength));
    std::int32_t utf8Length = 0;
    u_strToUTF8(storage.data(), static_cast<std::int32_t>(storage.size()), &utf8Length, composed.data(), composedLength,
                &status);
    throwOnFailure(status);
    storage.resize(utf8Length);
    return storage;
}

std::string guessKey(std::string_view text) {
    std::string composed;
    return asciiLowerCased(canonicallyComposed(text, composed));
}
