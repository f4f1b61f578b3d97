#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/appexception.h"
#include "model/list.h"
#include "model/wordlist.h"
#include "parser/linereader.h"

// The chosen file or one of its imports cannot be opened.
class FileError : public AppException {
public:
    FileError();
    std::string toString() const override;
};

// A directive of no known kind, or a format version other than 1.0.
class FileUnsupported : public AppException {
public:
    FileUnsupported();
    std::string toString() const override;
};

// Reads a dictionary file and every file it imports, breadth first, into a word list. A parser
// serves one load: make it, call parse() once, drop it. Errors end the load at once; what was
// added to the word list before stays there.
class Parser {
public:
    // Opens nothing yet. A relative import path is later resolved against the folder of this file.
    Parser(std::string fileName, WordList& wordList);
    virtual ~Parser() = default;
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    virtual void parse();

    // Where the load stands, so that a caller can tell where it stopped: the file being read, as
    // it was opened, and the number of its last line read (0 before its first line).
    const std::string& currentFile() const { return currentFile_; }
    std::uint64_t currentLine() const { return currentLine_; }

private:
    // One file read during this load and the file that imported it (an index into filesRead_).
    struct ImportLink {
        FileIdentity identity;
        std::size_t importer;
    };
    static constexpr std::size_t chosenFile = SIZE_MAX;

    void readFile(const std::string& fileName, std::size_t importer);
    void handleDirective(std::string_view line);
    std::string_view decoded(std::string_view line, ByteOrderMark mark);
    bool isOnImportChain(FileIdentity identity, std::size_t importer) const;

    List<std::string> pendingFiles_;
    List<std::string> foundImports_;
    bool titleTaken_ = false;
    WordList& wordList_;

    // Beside each name in pendingFiles_ and foundImports_, at the same place: the file that
    // named it. An import already on its own chain of importers would never end, so it is skipped.
    List<std::size_t> pendingImporters_;
    List<std::size_t> foundImporters_;
    std::vector<ImportLink> filesRead_;
    std::size_t fileBeingRead_ = chosenFile;

    std::string importFolder_;
    std::string currentFile_;
    std::uint64_t currentLine_ = 0;
    std::string convertedLine_;
    std::string entryLine_;
};
