#include "gedcom/gedcom_line.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace stirpex {
namespace {

using namespace std::string_view_literals;

std::string Repeat(std::string_view piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += piece;
    }
    return out;
}

TEST(TrimLine, RemovesTheSixAsciiSpacesAtBothEndsOnly) {
    EXPECT_EQ(TrimLine(" \t\v\f\r\n1 NAME  John \t\r\n"), "1 NAME  John");
    EXPECT_EQ(TrimLine(" \t\r\n"), "");
    // NUL, a no-break space (raw 0xA0 or UTF-8 C2 A0) and other bytes are content, not white space.
    EXPECT_EQ(TrimLine("\0 1 X \0"sv), "\0 1 X \0"sv);
    EXPECT_EQ(TrimLine("\xA0\x31 X\xC2\xA0"), "\xA0\x31 X\xC2\xA0");
}

TEST(LineLevel, ComesFromTheFirstCharacterAlone) {
    const struct {
        std::string_view line;
        int level;
    } cases[] = {{"0 HEAD", 0},  {"4 CONT x", 4}, {"12 NAME", 1}, {"5 NAME", -1}, {"", -1},
                 {"A line", -1}, {" 1 NAME", -1}, {"/", -1},      {":", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(LineLevel(c.line), c.level) << c.line;
    }
}

TEST(TagPosition, IsOneCharacterAfterTheLevelThenOverBlanks) {
    EXPECT_EQ(TagPosition("1 NAME"), 2u);
    EXPECT_EQ(TagPosition("1NAME"), 1u);
    EXPECT_EQ(TagPosition("1 \t NAME"), 4u);
    EXPECT_EQ(TagPosition("12 NAME"), 1u); // the second digit starts the tag
    EXPECT_EQ(TagPosition("1"), 1u);
    EXPECT_EQ(TagPosition("1   "), 4u);
    EXPECT_EQ(TagPosition(""), 0u);
}

// Each rule gets the line and the tag position; the value is what the rule leaves.
std::string_view Fixed(std::string_view line, std::size_t length) {
    return ValueFixed(line, TagPosition(line), length);
}

TEST(ValueFixed, SkipsTheTagLengthThenBlanks) {
    EXPECT_EQ(Fixed("1 SEX M", 3), "M");
    EXPECT_EQ(Fixed("1 SEXM", 3), "M");
    EXPECT_EQ(Fixed("2 DATE \t 12 MAR 1850  x", 4), "12 MAR 1850  x");
    EXPECT_EQ(Fixed("1 BIRTH", 4), "H"); // a longer spelling leaves its tail in the value
    EXPECT_EQ(Fixed("1 DATE", 4), "");
    EXPECT_EQ(Fixed("1 DA", 4), "");
    EXPECT_EQ(Fixed("1", 4), "");
}

TEST(ValueFixed, CountsTagCharactersAsCodePoints) {
    // Four characters of eight bytes; a byte count would land inside the tag.
    EXPECT_EQ(Fixed("1 \xC3\x84\xC3\x96\xC3\x9C\xC3\x9F value", 4), "value");
    // A truncated tag at the end of the line never runs past it.
    EXPECT_EQ(Fixed("1 \xE2\x82\xAC", 4), "");
}

TEST(ValueWord, SkipsTheWholeWordThenBlanks) {
    const struct {
        std::string_view line;
        std::string_view value;
    } cases[] = {
        {"1 TITLE Dr. med.", "Dr. med."},
        {"1 TITL Dr", "Dr"},
        {"1 TITL", ""},
        {"1 TITL@x@ y", "y"},                 // every character 0x21-0x7F belongs to the word
        {"1 TITL\x7Fx y", "y"},               // 0x7F too
        {"1 TITL\xC3\x89 Dr", "\xC3\x89 Dr"}, // a character above U+007F ends the word
        {"1 TITL\0X Dr"sv, "\0X Dr"sv},       // so does NUL, which is no blank
        {"1 TITL\tDr", "Dr"},
        {"1 \xC3\x89TITLE x", "x"}, // the first character is skipped whole, whatever it is
        {"1  ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueWord(c.line, TagPosition(c.line)), c.value) << c.line;
    }
}

TEST(ValuePlace, TakesPlacAndPlaceAlike) {
    const struct {
        std::string_view line;
        std::string_view value;
    } cases[] = {
        {"2 PLAC Boston", "Boston"},
        {"2 PLACE Boston", "Boston"},
        {"2 PLACEE x", "E x"},
        {"2 PLACBoston", "Boston"},
        {"2 PLACe x", "e x"},
        {"2 PLAC", ""},
        {"2 PLACE", ""},
        {"2 PL", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValuePlace(c.line, TagPosition(c.line)), c.value) << c.line;
    }
}

TEST(PointerKey, SkipsOneCharacterWithoutLookingAtIt) {
    const struct {
        std::string_view line;
        std::string_view key;
    } cases[] = {
        {"1 FAMC @F1@", "F1"}, {"1 FAMC  \t@F1@ junk", "F1"},
        {"1 FAMC xF1@", "F1"}, {"1 FAMC \xC3\x89\x46\x31@", "F1"}, // the skipped character may be several bytes long
        {"1 FAMC @F1", ""},    {"1 FAMC", ""},
        {"1 FAMC @", ""},      {"1 FAMC @@", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PointerKey(c.line, TagPosition(c.line)), c.key) << c.line;
    }
}

TEST(ValuePointerOrText, AtSignAfterTheTagMakesAPointer) {
    const struct {
        std::string_view line;
        bool isPointer;
        std::string_view key;
        std::string_view text;
    } cases[] = {
        {"1 NOTE @N1@", true, "N1", "N1@"},
        {"1 NOTE \t@N1@ tail", true, "N1", "N1@ tail"},
        {"1 NOTE @", true, "", ""},
        {"1 NOTE @@ x", true, "", "@ x"},
        {"1 NOTE @no end", true, "", "no end"},
        {"1 NOTE text @N1@", false, "", "text @N1@"},
        {"1 NOTE", false, "", ""},
        {"1 NOTE@N2@", true, "N2", "N2@"},
    };
    for (const auto& c : cases) {
        const PointerOrText value = ValuePointerOrText(c.line, TagPosition(c.line));
        EXPECT_EQ(value.isPointer, c.isPointer) << c.line;
        EXPECT_EQ(value.key, c.key) << c.line;
        EXPECT_EQ(value.text, c.text) << c.line;
    }
}

TEST(ValuePointerOrText, LongKeyIsKeptWholeWithTheText) {
    const std::string line = "1 SOUR @" + Repeat("S", 23) + "@";
    const PointerOrText value = ValuePointerOrText(line, TagPosition(line));
    EXPECT_TRUE(value.isPointer);
    EXPECT_EQ(value.key, Repeat("S", 23));
    EXPECT_EQ(value.text, Repeat("S", 23) + "@");
}

TEST(ExtractXrefKey, StopsAtTheClosingAtSign) {
    EXPECT_EQ(ExtractXrefKey("I1@ INDI"), "I1");
    EXPECT_EQ(ExtractXrefKey("@"), "");
    EXPECT_EQ(ExtractXrefKey("I 1@"), "I 1");
    EXPECT_EQ(ExtractXrefKey("I\0\x31@"sv), "I\0\x31"sv);
}

TEST(ExtractXrefKey, NoClosingAtSignGivesEmptyKey) {
    EXPECT_EQ(ExtractXrefKey("I1"), "");
    EXPECT_EQ(ExtractXrefKey(""), "");
    EXPECT_EQ(ExtractXrefKey(Repeat("K", 10000)), "");
}

// Keys of 23 characters and more were all cut to the empty key, so distinct
// records met under one key.
TEST(ExtractXrefKey, KeysOfAnyLengthAreKeptWhole) {
    for (const int length : {22, 23, 36, 10000}) {
        const std::string key = Repeat("K", length - 1) + "1";
        EXPECT_EQ(ExtractXrefKey(key + "@"), key) << length;
        EXPECT_EQ(ExtractXrefKey(key + "@ INDI"), key) << length;
    }
    const std::string uuid = "4F1C2B7E-9D3A-4E55-8B21-0C6A9F3D7E10";
    EXPECT_EQ(ExtractXrefKey(uuid + "@"), uuid);
    const std::string accented = Repeat("\xC3\xA9", 30) + Repeat("\xF0\x9F\x98\x80", 30);
    EXPECT_EQ(ExtractXrefKey(accented + "@x"), accented);
}

TEST(MakeGeneratedKey, IsABlankAndTheNextCounterValue) {
    // Other tests in this program draw keys too, so only the step between two calls is known.
    const std::string first = MakeGeneratedKey();
    const std::string second = MakeGeneratedKey();
    ASSERT_GE(first.size(), 2u);
    ASSERT_EQ(first[0], ' ');
    ASSERT_EQ(first.find_first_not_of("0123456789", 1), std::string::npos) << first;
    EXPECT_EQ(second, " " + std::to_string(std::stoll(first.substr(1)) + 1));
}

TEST(RecognizeRecordLine, KindComesFromTheEndOfTheLine) {
    const struct {
        std::string_view line;
        RecordKind kind;
        std::string_view key;
    } cases[] = {
        {"0 @I1@ INDI", RecordKind::Individual, "I1"},
        {"0 @I1@INDI", RecordKind::Individual, "I1"},
        {"0 @F1@ FAM", RecordKind::Family, "F1"},
        {"0 @N1@ NOTE First line", RecordKind::Note, "N1"},
        {"0 @NOTE5@ SOUR", RecordKind::Note, "NOTE5"}, // NOTE anywhere wins over SOUR
        {"0 @S1@ SOUR", RecordKind::Source, "S1"},
        {"0 @O1@ OBJE", RecordKind::ExtObj, "O1"},
        {"0 @U1@ SUBM", RecordKind::Submitter, "U1"},
        {"0 @N1@ NOTE INDI", RecordKind::Individual, "N1"}, // INDI is tested before NOTE
        {"0 @N1@ NOTE FAM", RecordKind::Family, "N1"},
        {"0 @I1 INDI", RecordKind::Individual, ""},
        {"0 HEAD", RecordKind::Header, ""},
        {"0 SUBM", RecordKind::Submitter, ""},
        {"0 @H1@ HEAD", RecordKind::None, "H1"},      // with an '@' HEAD is no record
        {"0 @I1@ INDI junk", RecordKind::None, "I1"}, // a word after the kind makes no record
        {"0 @F1@ FAMILY", RecordKind::None, "F1"},
        {"0 TRLR", RecordKind::None, ""},
        {"0 INDI", RecordKind::None, ""},
        {"0 FAM", RecordKind::None, ""},
        {"0", RecordKind::None, ""},
    };
    for (const auto& c : cases) {
        const RecordLine record = RecognizeRecordLine(c.line);
        EXPECT_EQ(record.kind, c.kind) << c.line;
        EXPECT_EQ(record.key, c.key) << c.line;
    }
}

TEST(RecognizeRecordLine, LongIdentifierIsTheWholeKey) {
    const std::string line = "0 @" + Repeat("I", 23) + "@ INDI";
    const RecordLine record = RecognizeRecordLine(line);
    EXPECT_EQ(record.kind, RecordKind::Individual);
    EXPECT_EQ(record.key, Repeat("I", 23));
}

TEST(FirstNoteLine, IsTheTextAfterNote) {
    const struct {
        std::string_view line;
        std::optional<std::string_view> first;
    } cases[] = {
        {"0 @N1@ NOTE First line", "First line"},
        {"0 @N1@ \tNOTE \t  text  here", "text  here"},
        {"0 @N1@NOTEtext", "text"},
        {"0 @N1@ NOTES x", "S x"},
        {"0 @N1@ NOTE", std::nullopt},
        {"0 @N1@ NOTE  \t", std::nullopt},
        {"0 @NOTE5@ SOUR", std::nullopt},
        {"0 @N1@ X NOTE y", std::nullopt}, // NOTE must follow the key directly
        {"0 @N1 NOTE x", std::nullopt},    // no closing '@'
        {"0 NOTE x", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstNoteLine(c.line), c.first) << c.line;
    }
}

TEST(FirstNoteLine, IsFoundBehindALongIdentifier) {
    const std::string line = "0 @" + Repeat("N", 30) + "@ NOTE Text";
    EXPECT_EQ(FirstNoteLine(line), "Text");
}

} // namespace
} // namespace stirpex
