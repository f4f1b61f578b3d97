// Feeds the fuzzer's bytes to the flashcard export reader (header lines, notes, HTML fields, media
// references) and checks that the dictionary made of them loads as the entries written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "../tools/convert/flashcards.h"
#include "convertcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckedDictionary dictionary;
    std::string converted;
    TableOptions options;
    // Every third input reads the fields the other way round, with alternatives.
    if (size % 3 == 0) {
        options.columns = {1, 0, 2};
        options.alternatives = ",";
    }
    try {
        const std::string_view text = decodedText(bytes, "", dictionary.reporter(), converted);
        readFlashcards(text, options, dictionary.reporter(), dictionary.sink());
    } catch (const InputError&) {
        return 0;
    }
    dictionary.check();
    return 0;
}
