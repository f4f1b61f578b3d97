#include <gmock/gmock.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "program/exception.h"
#include "support/parserfixture.h"

using namespace std::string_literals;
using testing::ElementsAre;
using testing::IsEmpty;
using testsupport::ParserTest;
using testsupport::RecordingWordList;

using ReadingOrder = ParserTest;

TEST_F(ReadingOrder, FilesAreReadLevelByLevelInTheOrderOfTheirImportLines) {
    write("food.txt", "food=1\n@import fruit.txt\n@import meat.txt\nfood=2\n");
    write("fruit.txt", "@import apples.txt\nfruit=1\n");
    write("meat.txt", "@import beef.txt\nmeat=1\n@import pork.txt\n");
    write("apples.txt", "apples=1\n");
    write("beef.txt", "beef=1\n");
    write("pork.txt", "pork=1\n");
    parse("food.txt");
    EXPECT_THAT(words.lines, ElementsAre("food=1", "food=2", "fruit=1", "meat=1", "apples=1", "beef=1", "pork=1"));
}

TEST_F(ReadingOrder, AFileNamedTwiceIsReadTwice) {
    write("main.txt", "@import a.txt\n@import b.txt\n@import a.txt\n");
    write("a.txt", "a=1\n");
    write("b.txt", "@import a.txt\nb=1\n");
    parse("main.txt");
    EXPECT_THAT(words.lines, ElementsAre("a=1", "b=1", "a=1", "a=1"));
    EXPECT_EQ(words.remainingCount(), 4u);
}

using LoadErrors = ParserTest;

TEST_F(LoadErrors, AMissingChosenFileLeavesTheWordListUntouched) {
    EXPECT_THROW(parse("missing.txt"), FileError);
    EXPECT_EQ(words.remainingCount(), 0u);
    EXPECT_EQ(words.titlesSet, 0);
    EXPECT_EQ(parser->currentFile(), path("missing.txt"));
    EXPECT_EQ(parser->currentLine(), 0u);
}

TEST_F(LoadErrors, AMissingImportFailsAfterTheEntriesReadBeforeIt) {
    std::string main = "@import missing.txt\n@import later.txt\n";
    for (int i = 0; i < 10; ++i) {
        main += "w" + std::to_string(i) + "=t\n";
    }
    write("main.txt", main);
    write("later.txt", "later=1\n");
    EXPECT_THROW(parse("main.txt"), FileError);
    EXPECT_EQ(words.remainingCount(), 10u);
    EXPECT_EQ(parser->currentFile(), path("missing.txt"));
}

TEST_F(LoadErrors, AMalformedImportedEntryKeepsWhatWasReadBeforeIt) {
    write("main.txt", "m=1\n@import a.txt\n@import b.txt\n@import c.txt\n");
    write("a.txt", "a=1\n");
    write("b.txt", "b=1\nbroken\nb=2\n");
    write("c.txt", "c=1\n");
    EXPECT_THROW(parse("main.txt"), MalformedEntry);
    EXPECT_THAT(words.lines, ElementsAre("m=1", "a=1", "b=1"));
    EXPECT_EQ(parser->currentFile(), path("b.txt"));
    EXPECT_EQ(parser->currentLine(), 2u);
}

TEST_F(LoadErrors, AUtf16ImportAddsNothingOfItself) {
    write("main.txt", "m=1\n@import wide.txt\n");
    write("wide.txt", "\xFF\xFE"
                      "a\0=\0b\0\n\0"s);
    EXPECT_THROW(parse("main.txt"), Exception);
    EXPECT_THAT(words.lines, ElementsAre("m=1"));
}

TEST_F(LoadErrors, AFailingReadCountsAsTheEndOfTheFile) {
    // A regular file whose first read fails: address 0 of this process is never mapped.
    write("main.txt", "m=1\n@import /proc/self/mem\n");
    parse("main.txt");
    EXPECT_THAT(words.lines, ElementsAre("m=1"));
}

using ImportPaths = ParserTest;

TEST_F(ImportPaths, RelativePathsAreTakenFromTheChosenFilesFolderAtEveryDepth) {
    makeFolder("lessons/animals");
    write("lessons/main.txt", "@import animals/birds.txt\n");
    write("lessons/animals/birds.txt", "@import fish.txt\nbird=1\n");
    write("lessons/fish.txt", "fish=1\n");
    write("lessons/animals/fish.txt", "wrong fish=1\n");
    parse("lessons/main.txt");
    EXPECT_THAT(words.lines, ElementsAre("bird=1", "fish=1"));
}

TEST_F(ImportPaths, AbsolutePathsAreUsedAsWritten) {
    makeFolder("elsewhere");
    write("elsewhere/far.txt", "far=1\n");
    write("main.txt", "@import " + path("elsewhere/far.txt") + "\n");
    parse("main.txt");
    EXPECT_THAT(words.lines, ElementsAre("far=1"));
}

TEST_F(ImportPaths, ARelativeChosenFileIsTakenFromTheWorkingDirectory) {
    makeFolder("lessons");
    write("lessons/main.txt", "@import more.txt\n");
    write("lessons/more.txt", "more=1\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    try {
        parsePath("lessons/main.txt");
    } catch (...) {
        std::filesystem::current_path(previous);
        throw;
    }
    std::filesystem::current_path(previous);
    EXPECT_THAT(words.lines, ElementsAre("more=1"));
}

TEST_F(ImportPaths, ALinkToARegularFileIsRead) {
    write("real.txt", "real=1\n");
    std::filesystem::create_symlink(path("real.txt"), path("link.txt"));
    write("main.txt", "@import link.txt\n");
    parse("main.txt");
    EXPECT_THAT(words.lines, ElementsAre("real=1"));
}

using SpecialFiles = ParserTest;

TEST_F(SpecialFiles, OnlyRegularFilesCanBeOpened) {
    makeFolder("folder");
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory_symlink(path("folder"), path("folder-link"));
    std::filesystem::create_symlink(path("nowhere"), path("dangling"));
    for (const std::string& import :
         {"folder"s, "folder-link"s, "fifo"s, "/dev/null"s, "/dev/zero"s, "dangling"s, "."s}) {
        write("main.txt", "m=1\n@import " + import + "\n");
        EXPECT_THROW(parse("main.txt"), FileError) << import;
    }
    EXPECT_THROW(parse("folder"), FileError);
    EXPECT_THROW(parse("fifo"), FileError);
}

TEST_F(SpecialFiles, AFileThatMayNotBeReadCannotBeOpened) {
    write("secret.txt", "secret=1\n");
    write("main.txt", "m=1\n@import secret.txt\n");
    ASSERT_EQ(::chmod(path("secret.txt").c_str(), 0), 0);
    // Root reads any file whatever its mode, so the check runs in a child without root's rights.
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                std::_Exit(2);
            }
            RecordingWordList childWords;
            try {
                Parser(path("main.txt"), childWords).parse();
            } catch (const FileError&) {
                std::_Exit(childWords.lines.size() == 1 ? 0 : 3);
            }
            std::_Exit(1);
        },
        testing::ExitedWithCode(0), "");
}

using ImportCycles = ParserTest;

TEST_F(ImportCycles, AFileImportingItselfIsReadOnce) {
    write("self.txt", "self=1\n@import self.txt\n@import ./self.txt\n@import link.txt\n@import hard.txt\n");
    std::filesystem::create_symlink(path("self.txt"), path("link.txt"));
    std::filesystem::create_hard_link(path("self.txt"), path("hard.txt"));
    parse("self.txt");
    EXPECT_THAT(words.lines, ElementsAre("self=1"));
}

TEST_F(ImportCycles, TwoFilesImportingEachOtherAreEachReadOnceWhicheverIsChosen) {
    write("a.txt", "a=1\n@import b.txt\n");
    write("b.txt", "b=1\n@import a.txt\n");
    parse("a.txt");
    EXPECT_THAT(words.lines, ElementsAre("a=1", "b=1"));
    words.lines.clear();
    parse("b.txt");
    EXPECT_THAT(words.lines, ElementsAre("b=1", "a=1"));
}

TEST_F(ImportCycles, OnlyTheFilesOwnChainCounts) {
    // d is imported along two chains and read twice; its import of main closes a cycle on both.
    write("main.txt", "m=1\n@import b.txt\n@import c.txt\n");
    write("b.txt", "b=1\n@import d.txt\n");
    write("c.txt", "c=1\n@import d.txt\n");
    write("d.txt", "d=1\n@import main.txt\n@import b.txt\n");
    parse("main.txt");
    EXPECT_THAT(words.lines, ElementsAre("m=1", "b=1", "c=1", "d=1", "d=1", "b=1"));
}

using DeepImports = ParserTest;

TEST_F(DeepImports, AThousandLevelsAreReadAndACycleAtTheBottomEndsThem) {
    constexpr int depth = 1000;
    for (int level = 0; level < depth; ++level) {
        const std::string next = level + 1 < depth ? std::to_string(level + 1) : "0";
        write(std::to_string(level) + ".txt", "w" + std::to_string(level) + "=t\n@import " + next + ".txt\n");
    }
    parse("0.txt");
    ASSERT_EQ(words.lines.size(), static_cast<std::size_t>(depth));
    EXPECT_EQ(words.lines.front(), "w0=t");
    EXPECT_EQ(words.lines.back(), "w999=t");
}

TEST_F(DeepImports, AnErrorAtTheBottomOfADeepChainNamesThatFile) {
    constexpr int depth = 1000;
    for (int level = 0; level < depth; ++level) {
        write(std::to_string(level) + ".txt", "@import " + std::to_string(level + 1) + ".txt\n");
    }
    EXPECT_THROW(parse("0.txt"), FileError);
    EXPECT_EQ(parser->currentFile(), path("1000.txt"));
}

using ImportBounds = ParserTest;

TEST_F(ImportBounds, LayersOfFilesImportingEachOtherStopAtTheReadLimitNamingTheImport) {
    // Each layer's two files import both files of the next: the reads double with every layer.
    constexpr int layers = 500;
    write("main.txt", "m=1\n@import L0a.txt\n@import L0b.txt\n");
    for (int layer = 0; layer < layers; ++layer) {
        const std::string next = "L" + std::to_string(layer + 1);
        const std::string imports = layer + 1 < layers ? "@import " + next + "a.txt\n@import " + next + "b.txt\n" : "";
        for (const char* side : {"a", "b"}) {
            write("L" + std::to_string(layer) + side + ".txt", "w=1\n" + imports);
        }
    }
    try {
        parse("main.txt");
        FAIL() << "the load did not stop";
    } catch (const ImportLimitExceeded& error) {
        // Reads 1 to 8191 fill the layers down to L11; the 10001st is the 1810th of layer L12.
        EXPECT_EQ(error.message(),
                  "Verbaro Tool stopped reading the dictionary at the import of \"L12b.txt\" on line 3 of "
                  "\"L11a.txt\".\nIts files import one another so many times over that more than 10000 files "
                  "would have to be read.");
    }
    EXPECT_EQ(words.remainingCount(), 10'000u);
}

TEST_F(ImportBounds, ASharedFileIsReadOnceForEachImportUpToTheLimits) {
    write("main.txt", "m=1\n@import a.txt\n@import b.txt\n");
    write("a.txt", "a=1\n@import shared.txt\n");
    write("b.txt", "b=1\n@import shared.txt\n");
    write("shared.txt", "s=1\n");
    const struct {
        LoadLimits limits;
        std::string error;  // empty when the load succeeds
    } cases[] = {
        {{}, ""},
        {{.fileReads = 5, .bytesReadAgain = 4}, ""},
        {{.fileReads = 4}, "more than 4 files would have to be read"},
        {{.bytesReadAgain = 3}, "would have to be read again"},
    };
    for (const auto& [limits, error] : cases) {
        RecordingWordList loaded;
        Parser load(path("main.txt"), loaded, limits);
        if (error.empty()) {
            load.parse();
            EXPECT_THAT(loaded.lines, ElementsAre("m=1", "a=1", "b=1", "s=1", "s=1"));
            EXPECT_EQ(loaded.remainingCount(), 5u);
            continue;
        }
        try {
            load.parse();
            ADD_FAILURE() << error;
        } catch (const ImportLimitExceeded& exceeded) {
            EXPECT_THAT(exceeded.message(), testing::HasSubstr("import of \"shared.txt\" on line 2 of \"b.txt\""));
            EXPECT_THAT(exceeded.message(), testing::HasSubstr(error));
            EXPECT_THAT(loaded.lines, ElementsAre("m=1", "a=1", "b=1", "s=1"));
        }
    }
}
