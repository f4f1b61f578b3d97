#include <gmock/gmock.h>

#include <fstream>
#include <set>
#include <sstream>

#include "convert.h"
#include "flashcards.h"
#include "linesplitter.h"
#include "support/optionlists.h"
#include "support/parserfixture.h"
#include "table.h"

using namespace std::string_literals;
using ::testing::HasSubstr;
using ::testing::Not;
using testsupport::optionsInManualPage;
using testsupport::optionsInUsage;
using testsupport::ParserTest;
using testsupport::ToolRun;

namespace {

// An input file, the arguments it is converted with, and what should come of it.
struct FileCase {
    const char* name;
    std::string bytes;
    const char* arguments;
    const char* expected;
};

struct TextCase {
    const char* input;
    const char* expected;
};

// Each entry as "word | word = translation | translation", one a line, in reading order.
std::string shown(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        const WordEntry entry = entryFromLine(line);
        for (std::size_t i = 0; i < entry.words().size(); ++i) {
            out += (i == 0 ? "" : " | ") + entry.words()[i];
        }
        out += " =";
        for (std::size_t i = 0; i < entry.translations().size(); ++i) {
            out += (i == 0 ? " " : " | ") + entry.translations()[i];
        }
        out += '\n';
    }
    return out;
}

const std::string kvtmlHead =
    "<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\"><identifiers>\n"
    "<identifier id=\"0\"><name>English</name><locale>en</locale></identifier>\n"
    "<identifier id=\"1\"><name>German</name><locale>de</locale></identifier>\n"
    "<identifier id=\"2\"><name>Swedish</name><locale>sv</locale></identifier>\n</identifiers><entries>\n";
const std::string kvtmlEntries =
    "<entry id=\"0\"><translation id=\"0\"><text>dog</text></translation><translation id=\"1\"><text>Hund</text>"
    "</translation><translation id=\"2\"><text> hund </text></translation></entry>\n"
    "<entry id=\"1\"><translation id=\"0\"><text>fish &amp; chips</text></translation><translation id=\"2\"><text>"
    "fisk</text></translation></entry>\n";

}  // namespace

class ConvertTool : public ParserTest {
protected:
    ToolRun convert(const std::string& arguments) const { return runTool(VERBARO_CONVERT, arguments); }

    std::string read(const std::string& name) const {
        std::ostringstream text;
        text << std::ifstream(path(name), std::ios::binary).rdbuf();
        return text.str();
    }

    // Converts the input into a dictionary and loads that as the program does.
    std::string convertedEntries(const std::string& input, const std::string& arguments) {
        const ToolRun run = convert(arguments + " " + input + " -o out.txt");
        EXPECT_EQ(run.status, 0) << run.err;
        words.lines.clear();
        parse("out.txt");
        return shown(words.lines);
    }
};

TEST_F(ConvertTool, ReadsEveryFormatIntoTheEntriesOfTheInput) {
    const FileCase cases[] = {
        {"a.csv", "hund,dog\n\"a \"\"b\"\" c\",\"x\ty\"\n  katt , cat \n", "--strict --columns 1,2",
         "hund = dog\na \"b\" c = x\ty\nkatt = cat\n"},
        {"a.csv", "word,translation\n\"\"\"q\"\"\",\"d e\"\n", "--header", "\"q\" = d e\n"},
        {"semi.csv", "hund;dog;hound\nkatt;cat;\n", "--columns 1,2,3", "hund = dog | hound\nkatt = cat\n"},
        {"any.txt", "hund\tdog, big\nkatt\tcat\n", "--columns 1,2", "katt = cat\n"},
        {"any.txt", "a|b\n", "--format csv --separator '|'", "a = b\n"},
        {"cols.tsv", "x\tdog\thund\tvovve\n", "--columns 3,1,2", "hund = x | dog\n"},
        {"bom.csv", "\xEF\xBB\xBFhund,d\xC3\xB6g\n", "", "hund = d\xC3\xB6g\n"},
        {"le.txt", "\xFF\xFEh\0u\0n\0d\0\t\0\xE9\0\r\0\n\0"s, "", "hund = \xC3\xA9\n"},
        {"be.txt", "\xFE\xFF\0h\0u\0n\0d\0\t\0d\0o\0g"s, "", "hund = dog\n"},
        {"le32.txt", "\xFF\xFE\0\0h\0\0\0\t\0\0\0\xE9\0\0\0"s, "", "h = \xC3\xA9\n"},
        {"ansi.csv",
         "gr\xFC\xDF"
         "e,\x80\n",
         "",
         "gr\xC3\xBC\xC3\x9F"
         "e = \xE2\x82\xAC\n"},
        {"latin2.csv", "\xB1,a\n", "--encoding ISO-8859-2", "\xC4\x85 = a\n"},
        {"v.kvtml", kvtmlHead + kvtmlEntries + "</entries></kvtml>", "", "dog = Hund\n"},
        {"v.kvtml", kvtmlHead + kvtmlEntries + "</entries></kvtml>", "--from Swedish --to en",
         "hund = dog\nfisk = fish & chips\n"},
        {"v.kvtml", kvtmlHead + kvtmlEntries + "</entries></kvtml>", "--from 1 --to sv", "Hund = hund\n"},
        {"v.xml", kvtmlHead + kvtmlEntries + "</entries></kvtml>", "--from 2 --to 0",
         "hund = dog\nfisk = fish & chips\n"},
        {"notes.txt",
         "#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n"
         "g1\tBasic\t<b>Hund</b>&nbsp;&amp;  co\tdog<br>big&lt;dog&gt;\ttags\n"
         "g2\tBasic\t\"<div>a\tb</div>\"\t\"<p>x\ny</p><script>z</script>\"\n",
         "", "Hund & co = dog big<dog>\na b = x y\n"},
        {"plain.txt", "#separator:Pipe\n#html:false\n#deck:Default\n<b>a</b>|a&b\n", "", "<b>a</b> = a&b\n"},
    };
    for (const auto& example : cases) {
        write(example.name, example.bytes);
        EXPECT_EQ(convertedEntries(example.name, example.arguments), example.expected)
            << example.name << " " << example.arguments;
    }
}

TEST_F(ConvertTool, RefusesBadInputWithItsFileAndLineAndLeavesTheOutputAlone) {
    const FileCase cases[] = {
        {"open.csv", "a,b\nc,\"d\ne,f\n", "", "open.csv:2: a quoted field that is never closed"},
        {"stray.csv", "a,b\nc,d\"x\"\n", "", "stray.csv:2: a quotation mark out of place"},
        {"after.csv", "a,\"b\"x\n", "", "after.csv:1: a quotation mark out of place"},
        {"short.csv", "a,b\nc\n", "--strict", "short.csv:2: no column 2 in this record, which has 1"},
        {"skipped.csv", "a\nb\n", "", "skipped.csv: no entry was written: every one was left out"},
        {"enc.csv", "a,b\n", "--encoding NO-SUCH-CODE", "enc.csv: unknown encoding \"NO-SUCH-CODE\""},
        {"utf8.csv", "a,b\nc,\xFF\n", "--encoding utf-8", "utf8.csv:2: the text is not well-formed UTF-8"},
        {"cp.csv", "a,b\n\x81,e\n", "--encoding windows-1252", "cp.csv:2: the text is not windows-1252"},
        {"odd.txt",
         "\xFF\xFE"
         "a\0\t\0b\0\n\0c"s,
         "", "odd.txt:2: the text is not UTF-16LE"},
        {"ill.kvtml", kvtmlHead + "<entry>\n</entries></kvtml>", "",
         "ill.kvtml:8: ill-formed XML: Premature end of data"},
        {"empty.kvtml", "", "", "empty.kvtml:1: ill-formed XML: Document is empty"},
        {"bomb.kvtml",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n<!ENTITY a \"aaaaaaaaaa\">\n"
         "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n]>\n"
         "<kvtml version=\"2.0\"><entries>&c;</entries></kvtml>\n",
         "", "bomb.kvtml:3: the document declares an entity"},
        {"xxe.kvtml", "<!DOCTYPE kvtml [<!ENTITY x SYSTEM \"/etc/passwd\">]><kvtml version=\"2.0\">&x;</kvtml>", "",
         "xxe.kvtml:1: the document declares an entity"},
        {"param.kvtml", "<!DOCTYPE kvtml [<!ENTITY % p \"\">]><kvtml version=\"2.0\"/>", "", "declares an entity"},
        {"undeclared.kvtml", "<kvtml version=\"2.0\">&x;</kvtml>", "",
         "undeclared.kvtml:1: ill-formed XML: Entity 'x' not defined"},
        {"old.kvtml", "<kvtml version=\"1.0\"/>", "", "old.kvtml:1: kvtml version \"1.0\" is not read"},
        {"other.kvtml", "<html/>", "", "other.kvtml: not a kvtml document"},
        {"one.kvtml", "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/></identifiers></kvtml>", "",
         "one.kvtml: the document names one language; two are needed"},
        {"v.kvtml", kvtmlHead + "</entries></kvtml>", "--to fr", "v.kvtml: no language \"fr\""},
        {"sep.txt", "#separator:Dash\na-b\n", "", "sep.txt:1: unknown separator \"Dash\""},
        {"notes.txt", "#separator:tab\n#html:true\na\t\"b\n", "", "notes.txt:3: a quoted field that is never closed"},
        {"col.txt", "#separator:tab\n#tags column:x\na\tb\n", "", "col.txt:2: \"x\" is not a column number"},
        {"lost.csv", "a,b\n", "-o no/such/folder/out.txt", "no/such/folder/out.txt: No such file or directory"},
        {"folder.csv", "a,b\n", "-o folder", "folder: Is a directory"},
        {"strict.csv", "a,b\nc=d,e\n", "--strict", "strict.csv:2: \"c=d\" holds \"=\""},
        {"missing.csv", "", "--format dictionary", "missing.csv: Verbaro Tool was unable to open"},
    };
    makeFolder("folder");
    for (const auto& example : cases) {
        if (example.bytes.size() > 0 || example.name != "missing.csv"s) {
            write(example.name, example.bytes);
        }
        write("out.txt", "the earlier output");
        const std::string output = std::string_view(example.arguments).starts_with("-o") ? "" : " -o out.txt";
        const ToolRun run = convert(example.arguments + " "s + example.name + output);
        EXPECT_EQ(run.status, 1) << example.name;
        EXPECT_THAT(run.err, HasSubstr(example.expected)) << example.name;
        EXPECT_EQ(read("out.txt"), "the earlier output") << example.name;
        std::filesystem::remove(path(example.name));
    }
    std::vector<std::string> left;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        left.push_back(file.path().filename().string());
    }
    EXPECT_THAT(left, ::testing::UnorderedElementsAre("out.txt", "stderr.out", "folder"));
}

TEST_F(ConvertTool, ReplacesAnOutputKeepingItsPermissionsAndTheLinkToIt) {
    namespace fs = std::filesystem;
    write("words.csv", "hund,dog\n");
    write("private.txt", "old");
    fs::permissions(path("private.txt"), fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("private.txt", path("link.txt"));

    for (const char* output : {"private.txt", "link.txt"}) {
        const ToolRun run = convert("words.csv -o "s + output);
        ASSERT_EQ(run.status, 0) << output << ": " << run.err;
        EXPECT_THAT(read("private.txt"), HasSubstr("hund = dog")) << output;
        EXPECT_EQ(fs::status(path("private.txt")).permissions(), fs::perms::owner_read | fs::perms::owner_write)
            << output;
        EXPECT_TRUE(fs::is_symlink(path("link.txt"))) << output;
    }
}

TEST_F(ConvertTool, TellsWrongUsageWithStatusTwo) {
    write("a.csv", "a,b\n");
    write("d.txt", "hund = dog\n");
    for (const char* arguments :
         {"", "a.csv a.csv", "--bogus a.csv", "a.csv -o", "--format xls a.csv", "--columns 1 a.csv",
          "--columns 0,1 a.csv", "--columns 1,x a.csv", "--separator ab a.csv", "--to-format html a.csv",
          "--to-format csv a.csv", "-", "--to-format dictionary a.csv", "--to-format dictionary d.txt",
          "--to-format kvtml d.txt", "--header=yes a.csv", "--help=yes"}) {
        const ToolRun run = convert(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_THAT(run.err, HasSubstr("verbaro-convert: ")) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
    EXPECT_THAT(convert("--help").out, HasSubstr("Usage: verbaro-convert"));
}

// The help and the manual page name the same options, each with the same value.
TEST_F(ConvertTool, NamesEveryOptionInTheHelpAndInTheManualPage) {
    const std::set<std::string> help = optionsInUsage(convert("--help").out, 20);
    EXPECT_FALSE(help.empty());
    EXPECT_EQ(help, optionsInManualPage(VERBARO_CONVERT_MANUAL));
}

// Each row is one that a dictionary line cannot hold as it stands; the row after it always can.
TEST_F(ConvertTool, ReportsAndLeavesOutWhatADictionaryLineCannotHold) {
    const TextCase cases[] = {
        {",dog", "the word is empty"},
        {"hund,", "the word \"hund\" has no translation"},
        {"hund,  ", "the word \"hund\" has no translation"},
        {"\"a=b\",c", "\"a=b\" holds \"=\", which parts word and translation"},
        {"a,\"b = c\"", "\"b = c\" holds \"=\", which parts word and translation"},
        {"\"a, b\",c", "\"a, b\" holds \",\", which parts alternatives (--alternatives , reads the cell as several)"},
        {"a,\"b,c\"", "\"b,c\" holds \",\", which parts alternatives (--alternatives , reads the cell as several)"},
        {"\"say \"\"hi\"\"; ok\",x", "\"say \\\"hi\\\"; ok\" holds \";\", which starts a comment"},
        {";a,b", "\";a\" holds \";\", which starts a comment"},
        {"a,b;c", "\"b;c\" holds \";\", which starts a comment"},
        {"@title,b", "the word \"@title\" starts with \"@\", which makes the line a directive"},
        {"\"a\nb\",c", "\"a\\nb\" holds a line break"},
        {"a,\"b\r\nc\"", "\"b\\r\\nc\" holds a line break"},
    };
    for (const auto& example : cases) {
        write("in.csv", "x,y\n"s + example.input + "\nlast,one\n");
        const ToolRun run = convert("--separator , in.csv");
        EXPECT_EQ(run.status, 0) << example.input;
        EXPECT_EQ(run.err, "in.csv:2: skipped: "s + example.expected + "\n") << example.input;
        EXPECT_EQ(run.out, "@ver 1.0\n@title in\nx = y\nlast = one\n") << example.input;
        const ToolRun strict = convert("--strict --separator , in.csv");
        EXPECT_EQ(strict.status, 1) << example.input;
        EXPECT_EQ(strict.err, "in.csv:2: "s + example.expected + "\n") << example.input;
        EXPECT_EQ(strict.out, "") << example.input;
    }
    // Where the format could hold these, the drill must still ask them exactly.
    write("fine.csv", "a @b,@c\n\"x\ty\",ä ö\n");
    EXPECT_EQ(convertedEntries("fine.csv", "--strict"), "a @b = @c\nx\ty = \xC3\xA4 \xC3\xB6\n");
}

// What files that other programs and people wrote need: each case from a failure seen on such a
// file. `entries` is the dictionary written, without its first two lines.
TEST_F(ConvertTool, ReadsOtherMakersFilesAndTellsWhatItGuessedOrLeftOut) {
    const std::string kvtml = kvtmlHead + kvtmlEntries + "</entries></kvtml>";
    const std::string ansi = "this line is not well-formed UTF-8 and is read as Windows-1252\n";
    const std::string hint =
        "; as no record so far has more, perhaps \",\" is not the separator (--separator names it) or the file is no "
        "table (--format names what it is)\n";
    const struct {
        const char* name;
        std::string bytes;
        const char* arguments;
        int status;
        const char* entries;
        std::string err;
    } cases[] = {
        // One stray byte: only its own line is read as Windows-1252, and that is said.
        {"s.csv",
         "Caf\xC3\xA9;coffee\nStra\xC3\x9F"
         "e;street\xFF\n",
         "", 0,
         "Caf\xC3\xA9 = coffee\nStra\xC3\x83\xC5\xB8"
         "e = street\xC3\xBF\n",
         "s.csv:2: warning: " + ansi},
        {"c.csv", "\xD0\xB4\xD0\xB0;yes\n\x81\xFF;x\n\xD0\x81;yo\n", "", 0,
         "\xD0\xB4\xD0\xB0 = yes\n\xC2\x81\xC3\xBF = x\n\xD0\x81 = yo\n", "c.csv:2: warning: " + ansi},
        {"m.csv",
         "\xEF\xBB\xBF"
         "a,b\nc,\xE9\n",
         "", 0, "a = b\nc = \xC3\xA9\n", "m.csv:2: warning: " + ansi},
        {"w.csv", "a,b\n\x81,e\ngr\xFC\xDF,x\n", "", 0, "a = b\n\xC2\x81 = e\ngr\xC3\xBC\xC3\x9F = x\n",
         "w.csv:2: warning: the text is not UTF-8 and is read as Windows-1252 (--encoding names another encoding)\n"},
        // kvtml: one language named, the other side is the first language left; one language twice is wrong.
        {"v.kvtml", kvtml, "--from German", 0, "Hund = dog\n", "v.kvtml:8: skipped: the word is empty\n"},
        {"v.kvtml", kvtml, "--to de", 0, "dog = Hund\n",
         "v.kvtml:8: skipped: the word \"fish & chips\" has no translation\n"},
        {"v.kvtml", kvtml, "--from 0 --to en", 2, "",
         "verbaro-convert: --from and --to name the same language, \"English\"\n"},
        // A flashcard export's columns are its note fields; media references leave its fields.
        {"n.txt", "#separator:tab\n#guid column:1\n#notetype column:2\n#deck column:3\ng\tBasic\tDeck\tHund\tdog\n",
         "--columns 2,1", 0, "dog = Hund\n", ""},
        {"n.txt", "#separator:tab\n#html:true\nHund [sound:h.mp3]\t\"<img src=\"\"d.jpg\"\">dog [sound:d.mp3] big\"\n",
         "", 0, "Hund = dog big\n",
         "n.txt:3: warning: media references ([sound:...], images) were left out of 2 cells, the first on this line\n"},
        {"n.txt", "#separator:tab\nHund\tdog\n# a \"comment\"\nKatze\tcat\n", "", 0, "Hund = dog\nKatze = cat\n", ""},
        {"n.txt", "#separator:tab\r#html:true\rHund\t<b>dog</b>\r", "", 0, "Hund = dog\n", ""},
        // Columns left unread are told once, with the option that reads them.
        {"u.csv", "hund,dog,hound\nkatt,cat\nfisk,fish,,x\n", "", 0, "hund = dog\nkatt = cat\nfisk = fish\n",
         "u.csv: warning: columns 3 and 4 have text in 2 records and were not read; --columns 1,2,3,4 reads them as "
         "further translations\n"},
        // Line numbers count blank lines, line breaks in quotes and lone CRs.
        {"l.csv", "a,b\n\n\nc\n\"d\ne\",f\ng\r\rh\n", "", 0, "a = b\n",
         "l.csv:4: skipped: no column 2 in this record, which has 1\n"
         "l.csv:5: skipped: \"d\\ne\" holds a line break\nl.csv:7: skipped: no column 2 in this record, which has 1\n"
         "l.csv:9: skipped: no column 2 in this record, which has 1\n"},
        // Short records are left out, and a file of one column is told what may be wrong.
        {"p.csv", "hund|dog\nkatt|cat\n", "", 1, "",
         "p.csv:1: skipped: no column 2 in this record, which has 1" + hint
             + "p.csv:2: skipped: no column 2 in this record, which has 1\n"
               "p.csv: no entry was written: every one was left out\n"},
        {"p.csv", "hund|dog\nkatt|cat\n", "--separator pipe", 0, "hund = dog\nkatt = cat\n", ""},
        // Alternatives inside a cell.
        {"a.csv", "go,\"to go, to walk\"\n", "", 1, "",
         "a.csv:1: skipped: \"to go, to walk\" holds \",\", which parts alternatives (--alternatives , reads the cell "
         "as "
         "several)\na.csv: no entry was written: every one was left out\n"},
        {"a.csv", "go,\"to go, to walk\"\nsee;look,to see/ ;to look\n", "--alternatives ',;/'", 0,
         "go = to go, to walk\nsee, look = to see, to look\n",
         "a.csv:2: skipped: an empty alternative in \"to see/ ;to look\"\n"},
        {"a.csv", "go,\"to go,, to walk\"\n", "--strict --alternatives ,", 1, "",
         "a.csv:1: an empty alternative in \"to go,, to walk\"\n"},
        // A spreadsheet's "sep=", an empty cell between filled ones.
        {"e.csv", "sep=;\nhund;dog\n", "", 0, "hund = dog\n", ""},
        {"e.csv", "sep=|\nhund|dog\n", "", 0, "hund = dog\n", ""},
        {"g.csv", "a,b,,c\n", "--columns 1,2,3,4", 0, "a = b, c\n", "g.csv:1: skipped: the empty column 3\n"},
    };
    for (const auto& example : cases) {
        write(example.name, example.bytes);
        const ToolRun run = convert(example.arguments + " "s + example.name);
        EXPECT_EQ(run.status, example.status) << example.name << " " << example.arguments;
        EXPECT_EQ(run.err, example.err) << example.name << " " << example.arguments;
        const std::size_t entries = run.out.find('\n', run.out.find('\n') + 1);
        EXPECT_EQ(entries == std::string::npos ? "" : run.out.substr(entries + 1), example.entries)
            << example.name << " " << example.arguments;
    }
}

TEST_F(ConvertTool, ADictionaryThatDoesNotLoadGivesNoTable) {
    write("bad.txt", "a = b\n@import more.txt\n");
    write("more.txt", "x\n");
    const ToolRun failed = convert("bad.txt -o out.csv");
    EXPECT_EQ(failed.status, 1);
    EXPECT_THAT(failed.err, HasSubstr("more.txt:1: Unable to read a dictionary entry"));
    EXPECT_FALSE(std::filesystem::exists(path("out.csv")));
}

// A table made of a dictionary has one cell of words and one of translations, and reads back with
// the default options to the same drill; what a dictionary line cannot hold is reported on the way.
TEST_F(ConvertTool, ADictionaryMadeIntoATableReadsBackToTheSameDrill) {
    write("main.txt", "@title T\nhund , vovve = dog, hound\nonly =\n= cat\nkatt = cat, ; kitty\n@import more.txt\n");
    write("more.txt", "fisk fish\n\"q\" = \"x\"\n");
    const std::string rows =
        "\"hund, vovve\",\"dog, hound\"\nonly,\n,cat\nkatt,\"cat, \"\nfisk,fish\n\"\"\"q\"\"\",\"\"\"x\"\"\"\n";
    const ToolRun csv = convert("main.txt -o main.csv");
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.err, "");
    EXPECT_EQ(read("main.csv"), "words (separated by commas),translations (separated by commas)\n" + rows);
    EXPECT_EQ(
        convert("--to-format tsv main.txt").out,
        "words (separated by commas)\ttranslations (separated by commas)\nhund, vovve\tdog, hound\nonly\t\n\tcat\n"
        "katt\tcat, \nfisk\tfish\n\"\"\"q\"\"\"\t\"\"\"x\"\"\"\n");

    parse("main.txt");
    const std::string drill = shown(words.lines);
    for (const std::string table : {"main.csv", "main.tsv", "--header main.csv"}) {
        ASSERT_EQ(convert("main.txt -o "s + table.substr(table.find(' ') + 1)).status, 0);
        const ToolRun back = convert(table + " -o back.txt");
        EXPECT_EQ(back.status, 0) << table;
        const std::string name = table.substr(table.find(' ') + 1);
        EXPECT_EQ(back.err, name + ":3: skipped: the word \"only\" has no translation\n" + name
                                + ":4: skipped: the word is empty\n" + name
                                + ":5: skipped: an empty alternative in \"cat,\"\n")
            << table;
        words.lines.clear();
        parse("back.txt");
        // Left out and reported: the entries without a word or translation, and the empty alternative.
        EXPECT_EQ(shown(words.lines), "hund | vovve = dog | hound\nkatt = cat\nfisk = fish\n\"q\" = \"x\"\n") << table;
    }
    EXPECT_EQ(drill, "hund | vovve = dog | hound\nonly =\n = cat\nkatt = cat | \nfisk = fish\n\"q\" = \"x\"\n");
}

TEST(ConvertGuess, FormatFromNameAndContent) {
    const struct {
        const char* name;
        std::string bytes;
        Format format;
    } cases[] = {
        {"a.KVTML", "", Format::kvtml},
        {"a.csv", "@title x\n", Format::csv},
        {"a.tab", "", Format::tsv},
        {"a.txt", "\xEF\xBB\xBF <?xml version=\"1.0\"?><kvtml/>", Format::kvtml},
        {"a", "<kvtml version=\"2.0\">", Format::kvtml},
        {"a.txt", "#separator:tab\na\tb\n", Format::flashcards},
        {"a.txt", "@title Animals\n; note\n\nhund = dog\n", Format::dictionary},
        {"a.txt", "hund = dog\nkatt = cat\n", Format::dictionary},
        {"a.txt", "hund\t=\tdog\n", Format::dictionary},
        {"a.txt", "hund = dog\nkatt\tcat\n", Format::csv},
        {"a.txt", "hund\tdog\rkatt = cat\r", Format::csv},
        {"a.txt", "\xFF\xFEh\0=\0d\0"s, Format::csv},
        {"a.txt", "\0\0\xFE\xFF\0\0\0h\0\0\0=\0\0\0d"s, Format::csv},
        {"a.txt", "", Format::csv},
    };
    for (const auto& example : cases) {
        EXPECT_EQ(guessedFormat(example.name, example.bytes), example.format) << example.name << " " << example.bytes;
    }
}

TEST(ConvertGuess, SeparatorFromTheFirstRecords) {
    const struct {
        const char* text;
        char separator;
    } cases[] = {
        {"a\tb, c\nd\te, f\n", '\t'}, {"a;b,c\nd;e\n", ';'}, {"a,b\n\"x;y;z\",c\n", ','},
        {"\"a\nb\";c\nd;e", ';'},     {"one\ntwo\n", ','},
    };
    for (const auto& example : cases) {
        EXPECT_EQ(guessedSeparator(example.text), example.separator) << example.text;
    }
}

TEST(ConvertColumns, NumbersCountedFromOneInDigitsAlone) {
    const struct {
        const char* text;
        std::optional<std::size_t> column;
    } cases[] = {
        {"1", 0},
        {"012", 11},
        {"999999", 999998},
        {"0", std::nullopt},
        {"000000", std::nullopt},
        {"1000000", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, column] : cases) {
        EXPECT_EQ(columnNumber(text), column) << text;
    }
}

TEST(ConvertHtml, KeepsTheTextThatTheFieldShows) {
    const TextCase cases[] = {
        {"plain  text ", "plain text"},
        {"a<br>b<br/>c", "a b c"},
        {"<div>a</div><div>b</div>", "a b"},
        {"<i>it</i>alic &amp; &lt;x&gt; &eacute; &#x41;", "italic & <x> \xC3\xA9 A"},
        {"no&nbsp;break", "no break"},
        {"<style>p{}</style>x<!-- note -->y", "xy"},
        {"<b>unclosed", "unclosed"},
        {"<script>never closed", ""},
        {"a&#0;b", "ab"},
        {"a < b", "a < b"},
        {"", ""},
    };
    for (const auto& example : cases) {
        EXPECT_EQ(htmlFieldText(example.input), example.expected) << example.input;
    }
    EXPECT_THAT(htmlFieldText("<!DOCTYPE html [<!ENTITY x SYSTEM 'file:///etc/passwd'>]>&x;"), Not(HasSubstr("root:")));
}

// Lines end at LF, CR or CR LF wherever they stand, also past the first eight bytes of a line.
TEST(ConvertLines, EndWhereADictionarysLinesEnd) {
    for (const std::string end : {"\n", "\r", "\r\n"}) {
        for (std::size_t length = 0; length < 20; ++length) {
            const std::string line(length, 'a');
            const std::string text = line + end + end + line + end + "b";
            LineSplitter lines(text);
            std::string_view content;
            std::string_view whole;
            std::vector<std::string> seen;
            while (lines.next(content, whole)) {
                EXPECT_TRUE(whole.starts_with(content));
                seen.emplace_back(whole);
            }
            const std::vector<std::string> expected = {line + end, end, line + end, "b"};
            EXPECT_EQ(seen, expected) << testing::PrintToString(text);
        }
    }
}
