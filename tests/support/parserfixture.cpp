#include "support/parserfixture.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {

ParserTest::ParserTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "verbaro-parser-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    folder = pattern;
}

ParserTest::~ParserTest() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string ParserTest::path(const std::string& name) const {
    return (folder / name).string();
}

void ParserTest::write(const std::string& name, std::string_view bytes) const {
    std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + name);
    }
}

void ParserTest::makeFolder(const std::string& name) const {
    std::filesystem::create_directories(folder / name);
}

void ParserTest::parse(const std::string& name) {
    parsePath(path(name));
}

void ParserTest::parsePath(const std::string& fileName) {
    parser = std::make_unique<Parser>(fileName, words);
    parser->parse();
}

ToolRun ParserTest::runTool(const std::string& tool, const std::string& arguments) const {
    const std::string errors = path("stderr.out");
    const std::string command = "cd '" + folder.string() + "' && " + tool + " " + arguments + " 2>'" + errors + "'";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char chunk[4096];
    for (std::size_t count; (count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        run.out.append(chunk, count);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ostringstream err;
    err << std::ifstream(errors).rdbuf();
    run.err = err.str();
    return run;
}

}  // namespace testsupport
