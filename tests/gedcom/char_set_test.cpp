#include "gedcom/char_set.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace stirpex {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

std::string Ansel(std::string line) {
    AnselToAnsi(line);
    return line;
}

std::string Repeat(std::string_view piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += piece;
    }
    return out;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

TEST(CharSetFromValue, MatchesWholeCaseSensitiveNames) {
    const struct {
        std::string_view value;
        std::optional<CharSet> set;
    } cases[] = {
        {"ANSEL", CharSet::Ansel}, {"ANSI", CharSet::None},
        {"ASCII", CharSet::None},  {"UNICODE", CharSet::Utf8},
        {"UTF-8", CharSet::Utf8},  {"UTF8", CharSet::Utf8},
        {"IBMPC", CharSet::IbmPc}, {"MACINTOSH", CharSet::Macintosh},
        {"utf-8", std::nullopt},   {"UTF-8 ", std::nullopt},
        {"UTF", std::nullopt},     {"ANSELX", std::nullopt},
        {"IBM PC", std::nullopt},  {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CharSetFromValue(c.value), c.set) << c.value;
    }
}

TEST(AnselToAnsi, KeepsAsciiAndDropsControlBytes) {
    EXPECT_EQ(Ansel("A\x80\x8D\x9F\x42\0\x7F"s), "AB\0\x7F"s);
}

TEST(AnselToAnsi, SpecialCharactersFollowTheTable) {
    // One probe per row and per kind of entry: letters, symbols, and those that become a blank.
    EXPECT_EQ(Ansel("\xA0\xA1\xA5\xA6\xAE\xAF\xB0\xB8\xB9\xBA\xC3\xC5\xC6\xCF\xD0\xDF"),
              "\x20\x4C\xC6\x8C\x92\x20\x91\x69\xA3\xF0\xA9\xBF\xA1\xDF\x20\x20");
}

// Letters written as hex escapes where a letter would continue the escape before it.
TEST(AnselToAnsi, CombiningMarkAndBaseBecomeOneCharacter) {
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"\xE2\x65", "\xE9"}, {"\xE1\x41", "\xC0"},        {"\xE3u", "\xFB"},
        {"\xE4n", "\xF1"},    {"\xE8Y", "\x9F"},           {"\xE8y", "\xFF"},
        {"\xE2Y", "\xDD"},    {"M\xE8uller", "M\xFCller"}, {"\xE8\xB8", "\xEF"}, // dotless i takes the mark as i
        {"\xE1\xB8", "\xEC"}, {"\xE1\x42", "B"}, // a base without an accented form keeps only itself
        {"\xE4@", "@"},       {"\xE2\x7F", "\x7F"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ansel(std::string(c.in)), c.out) << c.in;
    }
}

TEST(AnselToAnsi, CaronRingAndCedillaCombineOnlyWithTheirLetters) {
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"\xE9S\xE9Z\xE9s\xE9z", "\x8A\x8E\x9A\x9E"},
        {"\xEA\x41\xEA\x61", "\xC5\xE5"},
        {"\xF0\x43\xF0\x63", "\xC7\xE7"},
        {"\xE9\x43", "C"}, // any other base: the mark goes, the base stays
        {"\xEA\x42", "B"},
        {"\xF0\xB8", "i"}, // ... and is read as a byte of its own
        {"\xE9\xE2\x65", "\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ansel(std::string(c.in)), c.out) << c.in;
    }
}

TEST(AnselToAnsi, OtherMarksAreDroppedAndTheirBaseKept) {
    EXPECT_EQ(Ansel("\xE0\x61\xE5\x62\xEB\xA5\xFF\x63"), "ab\xC6\x63");
}

TEST(AnselToAnsi, MarkBeforeABaseOutsideTheLetterRangeIsDropped) {
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"\xE1\x30", "0"},        {"\xE2?", "?"}, // 0x3F, just below the range
        {"\xE1\xA5", "\xC6"},                     // the base is still read as an ANSEL special character
        {"\xE1\xE2\x65", "\xE9"},                 // or as the next mark
        {"\xE8\x8D", ""},         {"\xE3 x", " x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ansel(std::string(c.in)), c.out) << c.in;
    }
}

TEST(AnselToAnsi, MarkAtTheEndOfTheLineIsDropped) {
    EXPECT_EQ(Ansel("ab\xE2"), "ab");
    EXPECT_EQ(Ansel("\xE9"), "");
    EXPECT_EQ(Ansel("\xE0"), "");
}

TEST(IbmPcToAnsi, MapsHighBytesOneForOne) {
    std::string line = "\x80\x9E\x9F\xA0\xAF\xB0\xDF\xE1\xED\xEE\xFD\xFF\x61\0z"s;
    IbmPcToAnsi(line);
    EXPECT_EQ(line, "\xC7\x95\x83\xE1\xBB\x20\x20\xDF\xF8\x80\xB2\x20\x61\0z"s);
}

TEST(MacToAnsi, MapsHighBytesOneForOne) {
    std::string line = "\x80\x9F\xA0\xA5\xAD\xC9\xCA\xD8\xDB\xE0\xF0\xFC\xFF\x61\0z"s;
    MacToAnsi(line);
    EXPECT_EQ(line, "\xC4\xFC\x86\x95\x20\x85\xA0\xFF\xA4\x87\x20\xB8\x20\x61\0z"s);
}

TEST(AppendWindows1252AsUtf8, EncodesTheCharacterOfEachCode) {
    const struct {
        char code;
        std::string_view utf8;
    } cases[] = {
        {'\x41', "A"},
        {'\x80', "\xE2\x82\xAC"},
        {'\x8A', "\xC5\xA0"},
        {'\x92', "\xE2\x80\x99"},
        {'\x99', "\xE2\x84\xA2"},
        {'\x9F', "\xC5\xB8"},
        {'\xA0', "\xC2\xA0"},
        {'\xE9', "\xC3\xA9"},
        {'\xFF', "\xC3\xBF"},
        // The five codes the code page leaves undefined stand for the C1 controls of the same number.
        {'\x81', "\xC2\x81"},
        {'\x8D', "\xC2\x8D"},
        {'\x8F', "\xC2\x8F"},
        {'\x90', "\xC2\x90"},
        {'\x9D', "\xC2\x9D"},
    };
    for (const auto& c : cases) {
        std::string out;
        AppendWindows1252AsUtf8(out, std::string_view(&c.code, 1));
        EXPECT_EQ(out, c.utf8) << static_cast<int>(static_cast<unsigned char>(c.code));
    }
}

TEST(AppendWindows1252AsUtf8, AppendsToWhatIsThere) {
    std::string out = "x";
    AppendWindows1252AsUtf8(out, "a\0\xE9"sv);
    EXPECT_EQ(out, "xa\0\xC3\xA9"sv);
}

// Input and sanitized output; well-formed exactly when they are equal.
const struct {
    std::string_view in;
    std::string_view out;
} kUtf8Cases[] = {
    {"", ""},
    {"a\0b"sv, "a\0b"sv},
    {"\xC2\x80\xDF\xBF", "\xC2\x80\xDF\xBF"},
    {"\xE0\xA0\x80\xEF\xBF\xBF", "\xE0\xA0\x80\xEF\xBF\xBF"},
    {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
    {"\x80", "\xEF\xBF\xBD"},
    {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"}, // overlong lead, then a stray continuation
    {"\xC1\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"\xE0\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                 // overlong three-byte form
    {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                 // surrogate
    {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // above U+10FFFF
    {"\xF5\xFF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"\xE2\x82", "\xEF\xBF\xBD"}, // truncated at the end: one replacement
    {"\xE2\x82\x41", "\xEF\xBF\xBD\x41"},
    {"\xF0\x9F\x98 x", "\xEF\xBF\xBD x"},
    {"\xE1\x80\xE1\x80\x80", "\xEF\xBF\xBD\xE1\x80\x80"}, // the broken sequence does not swallow the next lead
    {"\xC2", "\xEF\xBF\xBD"},
};

TEST(AppendSanitizedUtf8, ReplacesEachMaximalIllFormedSubpart) {
    for (const auto& c : kUtf8Cases) {
        std::string out = "<";
        AppendSanitizedUtf8(out, c.in);
        EXPECT_EQ(out, "<" + std::string(c.out)) << c.in;
    }
}

TEST(IsWellFormedUtf8, AcceptsExactlyWhatSanitizingLeavesAlone) {
    for (const auto& c : kUtf8Cases) {
        EXPECT_EQ(IsWellFormedUtf8(c.in), c.in == c.out) << c.in;
    }
}

TEST(ConvertLine, GivesModelTextForEachCharacterSet) {
    const struct {
        CharSet set;
        std::string_view raw;
        std::string_view text;
    } cases[] = {
        {CharSet::Ansel, "Ren\xE2\x65", "Ren\xC3\xA9"},
        {CharSet::Ansel, "\xA6\xE9S\xE8Y", "\xC5\x92\xC5\xA0\xC5\xB8"},
        // A byte-order mark read as ANSEL: the first byte goes, the other two become blanks.
        {CharSet::Ansel, "\xEF\xBB\xBF\x30 HEAD", "  0 HEAD"},
        {CharSet::None, "\x80\x81\xE9", "\xE2\x82\xAC\xC2\x81\xC3\xA9"},
        {CharSet::None, "caf\xC3\xA9", "caf\xC3\x83\xC2\xA9"},
        {CharSet::Utf8, "caf\xC3\xA9", "caf\xC3\xA9"},
        {CharSet::Utf8, "a\xFF\x62", "a\xEF\xBF\xBD\x62"},
        {CharSet::IbmPc, "\x82\xEE\xE1", "\xC3\xA9\xE2\x82\xAC\xC3\x9F"},
        {CharSet::Macintosh, "\x8E\xA5\xCA", "\xC3\xA9\xE2\x80\xA2\xC2\xA0"},
    };
    for (const auto& c : cases) {
        std::string scratch;
        EXPECT_EQ(ConvertLine(c.set, c.raw, scratch), c.text) << c.raw;
    }
}

TEST(ConvertLine, ReturnsTheRawLineWhenNothingChanges) {
    const std::string_view ascii = "1 NAME John /Smith/\0"sv;
    for (const CharSet set : {CharSet::Ansel, CharSet::None, CharSet::Utf8, CharSet::IbmPc, CharSet::Macintosh}) {
        std::string scratch;
        EXPECT_EQ(ConvertLine(set, ascii, scratch).data(), ascii.data());
    }
    const std::string_view utf8 = "1 NAME Ren\xC3\xA9";
    std::string scratch;
    EXPECT_EQ(ConvertLine(CharSet::Utf8, utf8, scratch).data(), utf8.data());
}

TEST(ConvertLine, KeepsLongLinesWhole) {
    // Longer than any fixed line buffer: nothing may be cut off.
    const std::string utf8 = Repeat("\xC3\xA9", 400);
    std::string scratch;
    EXPECT_EQ(ConvertLine(CharSet::Utf8, utf8, scratch), utf8);
    EXPECT_EQ(ConvertLine(CharSet::Utf8, utf8 + "\xFF", scratch), utf8 + std::string(kReplacement));
    EXPECT_EQ(ConvertLine(CharSet::None, Repeat("\xE9", 400), scratch), utf8);
}

TEST(ConvertLine, ScratchHoldsOnlyTheCurrentLine) {
    std::string scratch;
    ConvertLine(CharSet::None, Repeat("\xE9", 50), scratch);
    EXPECT_EQ(ConvertLine(CharSet::None, "\xFC", scratch), "\xC3\xBC");
}

} // namespace
} // namespace stirpex
