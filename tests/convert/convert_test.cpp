#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

#include "convert.h"
#include "flashcards.h"
#include "parserfixture.h"
#include "table.h"

using namespace std::string_literals;
using ::testing::HasSubstr;
using ::testing::Not;

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
        {"short.csv", "a,b\nc\n", "", "short.csv:2: no column 2 in this record, which has 1"},
        {"short.csv", "a,b\n", "--columns 1,3", "short.csv:1: no column 3"},
        {"enc.csv", "a,b\n", "--encoding NO-SUCH-CODE", "enc.csv: unknown encoding \"NO-SUCH-CODE\""},
        {"utf8.csv", "a,b\nc,\xFF\n", "--encoding utf-8", "utf8.csv:2: the text is not well-formed UTF-8"},
        {"cp.csv", "a,b\nc,d\n\x81,e\n", "", "cp.csv:3: the text is not WINDOWS-1252"},
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
         "one.kvtml: the document names 1 languages; two are needed"},
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
    for (const char* arguments : {"", "a.csv a.csv", "--bogus a.csv", "a.csv -o", "--format xls a.csv",
                                  "--columns 1 a.csv", "--columns 0,1 a.csv", "--columns 1,x a.csv",
                                  "--separator ab a.csv", "--to-format html a.csv", "--to-format csv a.csv", "-"}) {
        const ToolRun run = convert(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_THAT(run.err, HasSubstr("verbaro-convert: ")) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
    EXPECT_THAT(convert("--help").out, HasSubstr("Usage: verbaro-convert"));
}

// Each row is one that a dictionary line cannot hold as it stands; the row after it always can.
TEST_F(ConvertTool, ReportsAndLeavesOutWhatADictionaryLineCannotHold) {
    const TextCase cases[] = {
        {",dog", "the word is empty"},
        {"hund,", "the word \"hund\" has no translation"},
        {"hund,  ", "the word \"hund\" has no translation"},
        {"\"a=b\",c", "\"a=b\" holds \"=\", which parts word and translation"},
        {"a,\"b = c\"", "\"b = c\" holds \"=\", which parts word and translation"},
        {"\"a, b\",c", "\"a, b\" holds \",\", which parts alternatives"},
        {"a,\"b,c\"", "\"b,c\" holds \",\", which parts alternatives"},
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

TEST_F(ConvertTool, TableToDictionaryToTableGivesTheSameRows) {
    const std::string rows =
        "hund,dog,hound\n\"\"\"quoted\"\"\",x\nbig dog,stor hund\n\xC3\xA5sna,donkey,ass,burro\nq,tab\there\n";
    write("rows.csv", rows);
    EXPECT_EQ(convert("--columns 1,2,3,4 rows.csv -o rows.txt").status, 0);
    const ToolRun csv = convert("rows.txt -o back.csv");
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(read("back.csv"), rows);
    const ToolRun tsv = convert("--to-format tsv rows.txt");
    EXPECT_EQ(tsv.out, "hund\tdog\thound\n\"\"\"quoted\"\"\"\tx\nbig dog\tstor "
                       "hund\n\xC3\xA5sna\tdonkey\tass\tburro\nq\t\"tab\there\"\n");
    write("tab.tsv", tsv.out);
    EXPECT_EQ(convert("--columns 1,2,3,4 tab.tsv -o tab.txt").status, 0);
    EXPECT_EQ(read("tab.txt"), "@ver 1.0\n@title tab\n" + read("rows.txt").substr(read("rows.txt").find("hund")));
}

TEST_F(ConvertTool, DictionaryToTableReadsImportsAndReportsWhatARowCannotHold) {
    write("main.txt", "@title T\nhund , vovve = dog\n= cat\nkatt = cat, ; kitty\n@import more.txt\n");
    write("more.txt", "fisk fish\n");
    const ToolRun run = convert("main.txt --to-format tsv");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "katt\tcat\t\nfisk\tfish\n");
    EXPECT_EQ(run.err, "main.txt:2: skipped: the entry has several words, and a table row holds one\n"
                       "main.txt:3: skipped: the entry has no word\n");
    write("bad.txt", "a = b\n@import more.txt\n");
    write("more.txt", "x\n");
    const ToolRun failed = convert("bad.txt -o out.csv");
    EXPECT_EQ(failed.status, 1);
    EXPECT_THAT(failed.err, HasSubstr("more.txt:1: Unable to read a dictionary entry"));
    EXPECT_FALSE(std::filesystem::exists(path("out.csv")));
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
        {"a.txt", "\xFF\xFEh\0=\0d\0"s, Format::csv},
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
