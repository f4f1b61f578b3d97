// Feeds the fuzzer's bytes to the kvtml reader (libxml2 with entity declarations refused) with the
// languages chosen in several ways, and checks that the dictionary made of it loads as the entries
// written.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "../tools/convert/kvtml.h"
#include "convertcheck.h"

namespace {

const LanguageChoice choices[] = {{"", ""}, {"1", ""}, {"", "en"}, {"German", "0"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckedDictionary dictionary;
    try {
        readKvtml(bytes, "", choices[size % 4], size % 2 == 0 ? "" : ",", dictionary.reporter(), dictionary.sink());
    } catch (const InputError&) {
        return 0;
    } catch (const WrongUsage&) {
        return 0;
    }
    dictionary.check();
    return 0;
}
