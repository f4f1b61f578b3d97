// Feeds the fuzzer's bytes to the parser as a dictionary file, through a real file as the program
// reads it. Everything happens in a folder of its own that also holds a second dictionary to
// import. Every "/" of the input is replaced, so that an import can name only files of that
// folder and a run never reads, or hangs on, anything outside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/appexception.h"
#include "model/wordlist.h"
#include "parser/parser.h"
#include "program/exception.h"

namespace {

std::filesystem::path folder;

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::abort();
    }
}

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "verbaro-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    folder = pattern;
    std::atexit(removeFolder);
    writeFile(folder / "more.txt", "@title More\nmore=1\n@import dict.txt\n@import more.txt\nlast = one ; two\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (char& byte : text) {
        if (byte == '/') {
            byte = '_';
        }
    }
    writeFile(folder / "dict.txt", text);

    WordList words;
    Parser parser((folder / "dict.txt").string(), words);
    try {
        parser.parse();
    } catch (const AppException&) {
        // The program's own errors about the file are expected outcomes; so is the encoding error.
    } catch (const Exception&) {
    }
    return 0;
}
