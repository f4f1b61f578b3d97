#include <gtest/gtest.h>

#include <set>
#include <string>

#include "parser/codepage.h"
#include "parser/linedecoder.h"
#include "parser/utf8.h"
#include "program/exception.h"

using namespace std::string_literals;

TEST(Utf8Check, AcceptsEverySequenceLengthUpToItsLimits) {
    for (const std::string& text :
         {""s, "plain ASCII with NUL \0 inside"s, "\x7F"s, "\xC2\x80"s, "\xDF\xBF"s, "\xE0\xA0\x80"s, "\xED\x9F\xBF"s,
          "\xEE\x80\x80"s, "\xEF\xBF\xBF"s, "\xF0\x90\x80\x80"s, "\xF4\x8F\xBF\xBF"s,
          "Gr\xC3\xBC\xC3\x9F"
          "e"s}) {
        EXPECT_TRUE(isWellFormedUtf8(text)) << testing::PrintToString(text);
    }
}

TEST(Utf8Check, RefusesWhatRfc3629ShutsOut) {
    for (const std::string& text : {
             "\x80"s, "a\xBF"s,                         // continuation without a lead
             "\xC0\x80"s, "\xC1\xBF"s,                  // overlong two-byte forms
             "\xE0\x9F\xBF"s, "\xF0\x8F\xBF\xBF"s,      // overlong three- and four-byte forms
             "\xED\xA0\x80"s, "\xED\xBF\xBF"s,          // surrogates
             "\xF4\x90\x80\x80"s, "\xF5\x80\x80\x80"s,  // above U+10FFFF
             "\xFF"s, "\xFE"s,                          // never a lead byte
             "\xC3"s, "\xE2\x82"s, "\xF0\x9F\x98"s,     // cut off by the end
             "\xC3"
             "a"s,
             "\xE2\x82"
             "a"s,
             "\xE2"
             "a\xAC"s  // a lead followed by something else
         }) {
        EXPECT_FALSE(isWellFormedUtf8(text)) << testing::PrintToString(text);
    }
}

TEST(Utf8Check, FindsAFaultAtAnyPlaceOfALongAsciiText) {
    for (std::size_t place = 0; place < 40; ++place) {
        std::string text(40, 'a');
        text[place] = '\xE9';
        EXPECT_FALSE(isWellFormedUtf8(text)) << place;
        text.replace(place, 1, "\xC3\xA9");
        EXPECT_TRUE(isWellFormedUtf8(text)) << place;
        text.pop_back();
        if (place < 39) {
            EXPECT_FALSE(isWellFormedUtf8(text.substr(0, place + 1))) << place;
        }
    }
}

TEST(Utf8Check, MeasuresAndDecodesTheFirstCharacterByTheSameRules) {
    const struct {
        std::string text;
        std::size_t length;  // 0: no character starts there
        char32_t codePoint;
    } cases[] = {
        {"a\xC3\xA9"s, 1, U'a'},
        {"\0"s, 1, 0},
        {"\xC2\xA0x"s, 2, 0xA0},
        {"\xE2\x80\x89"s, 3, 0x2009},
        {"\xF4\x8F\xBF\xBF"s, 4, 0x10FFFF},
        {"\xE0\x82\xA0"s, 0, 0},  // an overlong no-break space
        {"\xE2\x80"s, 0, 0},
        {"\xA0"s, 0, 0},
        {""s, 0, 0},
    };
    for (const auto& [text, length, codePoint] : cases) {
        EXPECT_EQ(utf8SequenceLength(text), length) << testing::PrintToString(text);
        if (length != 0) {
            EXPECT_EQ(codePointOf(text.substr(0, length)), codePoint) << testing::PrintToString(text);
        }
    }
}

TEST(AnsiConversion, TurnsWindows1252IntoTheSameTextAsUtf8) {
    std::string utf8;
    convertAnsiToUtf8("Gr\xFC\xDF"
                      "e",
                      utf8);
    EXPECT_EQ(utf8, "Gr\xC3\xBC\xC3\x9F"
                    "e");
    convertAnsiToUtf8("\x80 \x85 \x8A \x99 \x9F \xA0 \xFF"s, utf8);
    EXPECT_EQ(utf8, "\xE2\x82\xAC \xE2\x80\xA6 \xC5\xA0 \xE2\x84\xA2 \xC5\xB8 \xC2\xA0 \xC3\xBF");
    convertAnsiToUtf8("a\0b"s, utf8);
    EXPECT_EQ(utf8, "a\0b"s);
}

TEST(AnsiConversion, GivesTheUndefinedBytesTheControlCharactersOfTheSameNumber) {
    std::string utf8;
    convertAnsiToUtf8("\x81\x8D\x8F\x90\x9D", utf8);
    EXPECT_EQ(utf8, "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(AnsiConversion, MapsEveryByteToADifferentWellFormedCharacter) {
    std::set<std::string> seen;
    std::string utf8;
    for (int byte = 0; byte < 256; ++byte) {
        convertAnsiToUtf8(std::string(1, static_cast<char>(byte)), utf8);
        EXPECT_TRUE(isWellFormedUtf8(utf8)) << byte;
        EXPECT_TRUE(seen.insert(utf8).second) << byte;
    }
}

TEST(AnsiConversion, OverwritesTheTextItIsGiven) {
    std::string utf8 = "left over from the previous line";
    convertAnsiToUtf8("\xE9t\xE9", utf8);
    EXPECT_EQ(utf8, "\xC3\xA9t\xC3\xA9");
}

TEST(LineDecoder, DecidesEachUnmarkedLineOnItsOwnAndTakesMarkedUtf8AsItStands) {
    const struct {
        ByteOrderMark mark;
        std::string line;
        std::string text;
        bool readAsAnsi;
    } cases[] = {
        {ByteOrderMark::none,
         "Gr\xC3\xBC\xC3\x9F"
         "e"s,
         "Gr\xC3\xBC\xC3\x9F"
         "e"s,
         false},
        {ByteOrderMark::none,
         "Gr\xFC\xDF"
         "e"s,
         "Gr\xC3\xBC\xC3\x9F"
         "e"s,
         true},
        {ByteOrderMark::none, "plain"s, "plain"s, false},
        {ByteOrderMark::utf8, "stray \xFF"s, "stray \xFF"s, false},
    };
    for (const auto& [mark, line, text, readAsAnsi] : cases) {
        LineDecoder decoder(mark);
        EXPECT_EQ(decoder.decoded(line), text) << testing::PrintToString(line);
        EXPECT_EQ(decoder.readAsAnsi(), readAsAnsi) << testing::PrintToString(line);
    }
}

TEST(LineDecoder, RefusesUtf16AndUtf32) {
    for (const ByteOrderMark mark : {ByteOrderMark::utf16LittleEndian, ByteOrderMark::utf16BigEndian,
                                     ByteOrderMark::utf32LittleEndian, ByteOrderMark::utf32BigEndian}) {
        LineDecoder decoder(mark);
        EXPECT_THROW(decoder.decoded("a"), Exception);
    }
}
