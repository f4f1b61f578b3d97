#include "parser/parser.h"

#include <string>
#include <utility>

#include "model/text.h"
#include "parser/dictionaryline.h"
#include "parser/linedecoder.h"
#include "program/identity.h"

namespace {

// Whether the line begins with the keyword, ignoring the case of the ASCII letters only.
bool beginsWithKeyword(std::string_view line, std::string_view keyword) {
    if (line.size() < keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (asciiLowerCase(line[i]) != keyword[i]) {
            return false;
        }
    }
    return true;
}

std::string_view argumentAfter(std::string_view line, std::string_view keyword) {
    return stripped(line.substr(keyword.size()));
}

// The text up to and including the last "/" of a file name, which, put before a relative name,
// makes it relative to the file's folder; empty for a file name without a folder.
std::string folderPrefixOf(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

}  // namespace

FileError::FileError() : AppException(programName + " was unable to open the specified file or any of its imports.") {}

std::string FileError::toString() const {
    return "parser.FileError";
}

FileUnsupported::FileUnsupported()
    : AppException("The file is of another version than " + programName
                   + " can handle.\n"
                     "Please update to a newer version of "
                   + programName + ".") {}

std::string FileUnsupported::toString() const {
    return "parser.FileUnsupported";
}

ImportLimitExceeded::ImportLimitExceeded(const std::string& import, std::uint64_t importLine,
                                         const std::string& importer, const std::string& limit)
    : AppException(programName + " stopped reading the dictionary at the import of \"" + import + "\" on line "
                   + std::to_string(importLine) + " of \"" + importer
                   + "\".\nIts files import one another so "
                     "many times over that "
                   + limit + ".") {}

std::string ImportLimitExceeded::toString() const {
    return "parser.ImportLimitExceeded";
}

Parser::Parser(std::string fileName, WordList& wordList, LoadLimits limits)
    : wordList_(wordList), limits_(limits), importFolder_(folderPrefixOf(fileName)) {
    pendingFiles_.prepend(std::move(fileName));
    pendingSources_.prepend({FileRead::noImporter, 0});
}

void Parser::parse() {
    while (!pendingFiles_.isEmpty()) {
        while (!pendingFiles_.isEmpty()) {
            const std::string fileName = pendingFiles_.pop();
            readFile(fileName, pendingSources_.pop());
        }
        // Popping the imports found in this pass and prepending them reverses them back into
        // the order of their lines: files are read level by level.
        while (!foundImports_.isEmpty()) {
            pendingFiles_.prepend(foundImports_.pop());
            pendingSources_.prepend(foundSources_.pop());
        }
    }
}

void Parser::readFile(const std::string& fileName, ImportSource source) {
    currentFile_ = fileName;
    currentLine_ = 0;
    LineReader reader;
    if (!reader.open(fileName)) {
        throw FileError();
    }
    if (isOnImportChain(reader.identity(), source.importer)) {
        return;
    }
    if (source.importer != FileRead::noImporter) {
        countImportRead(fileName, reader, source);
    }
    filesRead_.push_back({fileName, reader.identity(), source.importer, source.line});

    LineDecoder decoder(reader.takeByteOrderMark());
    while (reader.hasMoreBytes()) {
        const std::string_view rawLine = reader.nextLine();
        ++currentLine_;
        const std::string_view line = stripped(decoder.decoded(rawLine));
        switch (lineKindOf(line)) {
        case LineKind::blank:
        case LineKind::comment:
            break;
        case LineKind::directive:
            handleDirective(line);
            break;
        case LineKind::entry:
            entryLine_.assign(entryTextOf(line));
            wordList_.addEntry(entryLine_);
            break;
        }
    }
}

void Parser::handleDirective(std::string_view line) {
    if (beginsWithKeyword(line, titleKeyword)) {
        if (!titleTaken_) {
            wordList_.setTitle(std::string(argumentAfter(line, titleKeyword)));
            titleTaken_ = true;
        }
    } else if (beginsWithKeyword(line, importKeyword)) {
        // Relative paths are taken from the chosen file's folder at every depth: dictionaries
        // written for a working directory in that folder rely on it.
        const std::string_view path = argumentAfter(line, importKeyword);
        foundImports_.prepend(path.starts_with('/') ? std::string(path) : importFolder_ + std::string(path));
        foundSources_.prepend({filesRead_.size() - 1, currentLine_});
    } else if (!beginsWithKeyword(line, versionKeyword) || argumentAfter(line, versionKeyword) != formatVersion) {
        throw FileUnsupported();
    }
}

bool Parser::isOnImportChain(FileIdentity identity, std::size_t importer) const {
    for (std::size_t link = importer; link != FileRead::noImporter; link = filesRead_[link].importer) {
        if (filesRead_[link].identity == identity) {
            return true;
        }
    }
    return false;
}

void Parser::countImportRead(const std::string& fileName, const LineReader& reader, ImportSource source) {
    const bool readBefore = !filesSeen_.insert(reader.identity()).second;
    if (readBefore) {
        bytesReadAgain_ += reader.size();
    }
    std::string limit;
    if (filesRead_.size() >= limits_.fileReads) {
        limit = "more than " + std::to_string(limits_.fileReads) + " files would have to be read";
    } else if (bytesReadAgain_ > limits_.bytesReadAgain) {
        limit = "more than " + std::to_string(limits_.megabytesReadAgain()) + " MB would have to be read again";
    } else {
        return;
    }
    throw ImportLimitExceeded(shownName(fileName), source.line, shownName(filesRead_[source.importer].fileName), limit);
}

// Names as the dictionary's author wrote them: relative to the chosen file's folder where they are in it.
std::string Parser::shownName(const std::string& fileName) const {
    return fileName.starts_with(importFolder_) ? fileName.substr(importFolder_.size()) : fileName;
}
