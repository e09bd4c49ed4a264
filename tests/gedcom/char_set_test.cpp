#include "gedcom/char_set.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <string>
#include <string_view>

namespace stirpex {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

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

// Also inside ASCII text, at every place against the eight-byte steps the
// check takes over ASCII, and with a well-formed two-byte letter before it.
TEST(IsWellFormedUtf8, AcceptsExactlyWhatSanitizingLeavesAlone) {
    for (const auto& c : kUtf8Cases) {
        const bool wellFormed = c.in == c.out;
        EXPECT_EQ(IsWellFormedUtf8(c.in), wellFormed) << c.in;
        for (std::size_t before = 0; before <= 9; ++before) {
            const std::string padded = std::string(before, 'a') + std::string(c.in) + std::string(9, 'z');
            EXPECT_EQ(IsWellFormedUtf8(padded), wellFormed) << before << " " << c.in;
            EXPECT_EQ(IsWellFormedUtf8("\xC3\xA9" + padded), wellFormed) << before << " " << c.in;
        }
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
        {CharSet::None, "\x80\x81\xE9", "\xE2\x82\xAC\xC2\x81\xC3\xA9"},
        {CharSet::None, "caf\xC3\xA9", "caf\xC3\x83\xC2\xA9"},
        {CharSet::Utf8, "caf\xC3\xA9", "caf\xC3\xA9"},
        {CharSet::Utf8, "a\xFF\x62", "a\xEF\xBF\xBD\x62"},
        {CharSet::IbmPc, "\x82\xEE\xE1", "éεß"},
        {CharSet::Macintosh, "\x8E\xA5\xCA", "\xC3\xA9\xE2\x80\xA2\xC2\xA0"},
    };
    for (const auto& c : cases) {
        std::string scratch;
        EXPECT_EQ(ConvertLine(c.set, c.raw, scratch), c.text) << c.raw;
    }
}

// ICU's own conversion of one byte to UTF-8, from the converter the build's tables were written from.
std::string IcuUtf8(const char* converter, unsigned char byte) {
    const char in = static_cast<char>(byte);
    char out[8] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_convert("UTF-8", converter, out, sizeof out, &in, 1, &status);
    EXPECT_TRUE(U_SUCCESS(status)) << converter << " " << static_cast<int>(byte);
    return std::string(out, U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
}

TEST(ConvertLine, CodePagesGiveWhatIcuGivesForEveryHighByte) {
    const struct {
        CharSet set;
        const char* converter;
    } pages[] = {
        {CharSet::IbmPc, "ibm-437"},
        {CharSet::Macintosh, "macos-0_2-10.2"},
        {CharSet::None, "windows-1252"},
    };
    for (const auto& page : pages) {
        std::string line;
        std::string expected;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            std::string scratch;
            EXPECT_EQ(ConvertLine(page.set, one, scratch), IcuUtf8(page.converter, byte))
                << page.converter << " " << byte;
            line += one + "x";
            expected += IcuUtf8(page.converter, byte) + "x";
        }
        // The same bytes in one line between ASCII letters: each character whole, nothing shifted.
        std::string scratch;
        EXPECT_EQ(ConvertLine(page.set, line, scratch), expected) << page.converter;
    }
}

// What the model text must hold whichever converter the build's tables come from.
TEST(ConvertLine, CodePagesKeepWhatWindows1252Lacks) {
    const struct {
        CharSet set;
        std::string_view raw;
        std::string_view text;
    } cases[] = {
        {CharSet::IbmPc, "\xC9\xCD\xBB\xE0\xE3\xEC\xFB", "╔═╗απ∞√"},
        {CharSet::Macintosh, "\xF0\xDB\xAD\xB9", "\uF8FF€≠π"}, // the Apple logo in its private-use place
        // The codes Windows-1252 leaves undefined stand for the C1 controls of the same number.
        {CharSet::None, "\x81\x8D\x8F\x90\x9D\x80", "\u0081\u008D\u008F\u0090\u009D€"},
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

// The reader finds a line's first non-ASCII byte once and converts from
// there: on either side of each eight-byte step, and from any known start,
// the count must be the plain one, and the line the same as converted whole.
TEST(ConvertLine, FromTheFirstByteThatIsNotAscii) {
    for (std::size_t length = 0; length <= 33; ++length) {
        for (std::size_t high = 0; high <= length; ++high) {
            std::string line(length, 'a');
            if (high < length) {
                line[high] = '\xC3'; // a UTF-8 lead byte cut short: replaced, not kept
            }
            for (std::size_t from = 0; from <= high; from += 3) {
                ASSERT_EQ(AsciiPrefix(line, from), high) << length << " " << from;
            }
            for (const CharSet set : {CharSet::Ansel, CharSet::None, CharSet::Utf8}) {
                std::string whole;
                std::string fromHigh;
                ASSERT_EQ(ConvertLine(set, line, fromHigh, high), ConvertLine(set, line, whole));
            }
        }
    }
    std::string scratch;
    const std::string_view badLater = "1 NOTE Ren\xC3\xA9 \xFF"sv;
    EXPECT_EQ(ConvertLine(CharSet::Utf8, badLater, scratch, AsciiPrefix(badLater)),
              "1 NOTE Ren\xC3\xA9 " + std::string(kReplacement));
}

TEST(ConvertLine, ScratchHoldsOnlyTheCurrentLine) {
    std::string scratch;
    ConvertLine(CharSet::None, Repeat("\xE9", 50), scratch);
    EXPECT_EQ(ConvertLine(CharSet::None, "\xFC", scratch), "\xC3\xBC");
}

} // namespace
} // namespace stirpex
