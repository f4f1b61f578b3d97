#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
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

// A dictionary whose files import one another so many times over that reading it would go past
// the bounds of one load (LoadLimits). The message names the import at which reading stopped.
class ImportLimitExceeded : public AppException {
public:
    ImportLimitExceeded(const std::string& import, std::uint64_t importLine, const std::string& importer,
                        const std::string& limit);
    std::string toString() const override;
};

// Bounds on the work of one load. A path is read each time it is named, so files that import one
// another in layers (each file importing every file of the next layer) double the reads with every
// layer; real dictionaries, diamonds of shared files included, stay far below these.
struct LoadLimits {
    static constexpr std::uint64_t megabyte = std::uint64_t{1024} * 1024;

    // Files read in all, the chosen one included; only imports are ever refused.
    std::uint32_t fileReads = 10'000;
    // Bytes of files read once more during the same load, counted by their size when opened.
    std::uint64_t bytesReadAgain = 256 * megabyte;

    // The bound on bytes read again, in whole megabytes, as messages give it.
    std::uint64_t megabytesReadAgain() const { return bytesReadAgain / megabyte; }
};

// One file read during a load.
struct FileRead {
    static constexpr std::size_t noImporter = SIZE_MAX;

    std::string fileName;  // as it was opened
    FileIdentity identity;
    std::size_t importer;      // the read whose "@import" named this file, or noImporter
    std::uint64_t importLine;  // the line of that "@import" in its file; 0 for the chosen file
};

// Reads a dictionary file and every file it imports, breadth first, into a word list. A parser
// serves one load: make it, call parse() once, drop it. Errors end the load at once; what was
// added to the word list before stays there.
class Parser {
public:
    // Opens nothing yet. A relative import path is later resolved against the folder of this file.
    Parser(std::string fileName, WordList& wordList, LoadLimits limits = {});
    virtual ~Parser() = default;
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    virtual void parse();

    // Where the load stands, so that a caller can tell where it stopped: the file being read, as
    // it was opened, and the number of its last line read (0 before its first line).
    const std::string& currentFile() const { return currentFile_; }
    std::uint64_t currentLine() const { return currentLine_; }
    // Every file read so far, in the order of reading; the last one is being read. An import that
    // would lead back to a file on its own chain of importers is skipped and not listed.
    const std::vector<FileRead>& filesRead() const { return filesRead_; }

private:
    // Where an import path was found: the read that named it and the line of its "@import".
    struct ImportSource {
        std::size_t importer;
        std::uint64_t line;
    };

    void readFile(const std::string& fileName, ImportSource source);
    void handleDirective(std::string_view line);
    bool isOnImportChain(FileIdentity identity, std::size_t importer) const;
    void countImportRead(const std::string& fileName, const LineReader& reader, ImportSource source);
    std::string shownName(const std::string& fileName) const;

    List<std::string> pendingFiles_;
    List<std::string> foundImports_;
    bool titleTaken_ = false;
    WordList& wordList_;

    // Beside each name in pendingFiles_ and foundImports_, at the same place: where it was named.
    // An import already on its own chain of importers would never end, so it is skipped.
    List<ImportSource> pendingSources_;
    List<ImportSource> foundSources_;
    std::vector<FileRead> filesRead_;

    LoadLimits limits_;
    std::set<FileIdentity> filesSeen_;
    std::uint64_t bytesReadAgain_ = 0;

    std::string importFolder_;
    std::string currentFile_;
    std::uint64_t currentLine_ = 0;
    std::string entryLine_;
};
