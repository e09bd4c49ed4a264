// Files in every encoding read into the same model: a byte-order mark is no
// part of the first line, UTF-16 reads as its UTF-8 twin, and what the bytes
// show outweighs the header's CHAR line.

#include "gedcom/load_driver.h"

#include "gedcom/test_support.h"
#include "gedcom/utf16_text.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace stirpex {
namespace {

using test::Utf16File;

class RecordingProgress : public ProgressSink {
public:
    struct Window : ProgressWindow {
        explicit Window(std::vector<int>& positions) : m_positions(positions) {}
        void SetPos(int percent) override { m_positions.push_back(percent); }
        std::vector<int>& m_positions;
    };
    std::unique_ptr<ProgressWindow> Create(std::string_view) override { return std::make_unique<Window>(positions); }
    std::vector<int> positions;
};

std::string Family(std::string_view charValue, std::string_view lineEnd = "\n") {
    std::string text;
    for (const std::string_view line :
         {"0 HEAD", "1 SOUR Ancestral Records", "1 DATE 3 MAR 2021", "1 CHAR CHARVALUE", "0 @I1@ INDI",
          "1 NAME Zo\u00EB /\u0141ukasiewicz/", "1 BIRT", "2 PLAC Krak\u00F3w", "1 NOTE @N1@",
          "0 @N1@ NOTE \u00B6 \u263A \U00012345", "1 CONT \u6771\u4EAC", "0 TRLR"}) {
        text += line == "1 CHAR CHARVALUE" ? "1 CHAR " + std::string(charValue) : std::string(line);
        text += lineEnd;
    }
    return text;
}

// What the family above shows of its header, its person and its note.
std::vector<std::string> Shown(const CStirpexDoc& doc) {
    std::vector<std::string> shown{doc.m_strSourceSystem, doc.m_strFileDate, StatisticsText(doc)};
    if (const CPerson* person = doc.FindPerson("I1")) {
        shown.emplace_back(person->m_strGivenNames.view());
        shown.emplace_back(person->m_strSurname.view());
        shown.emplace_back(person->Event(ClassicEvent::Birth).place);
    }
    if (const CNote* note = doc.FindNote("N1")) {
        for (const ArenaStr& line : note->m_pLines) {
            shown.emplace_back(line.view());
        }
    }
    return shown;
}

const std::vector<std::string> kShown{"Ancestral Records",
                                      "3 MAR 2021",
                                      "1 people, 0 families, 1 notes, 0 sources.",
                                      "Zo\u00EB",
                                      "\u0141ukasiewicz",
                                      "Krak\u00F3w",
                                      "\u00B6 \u263A \U00012345",
                                      "\u6771\u4EAC"};

TEST(LoadEncoding, Utf8FileGivesTheFamily) {
    const auto loaded = test::LoadText(Family("UTF-8"));
    EXPECT_EQ(Shown(*loaded.doc), kShown);
    EXPECT_EQ(loaded.doc->m_encoding, (EncodingDecision{TextEncoding::Utf8, EncodingReason::CharValue, false}));
}

// The mark used to make the first line junk, and the whole header was lost.
TEST(LoadEncoding, Utf8MarkIsNoPartOfTheFirstLine) {
    const auto loaded = test::LoadText("\xEF\xBB\xBF" + Family("UTF-8", "\r\n"));
    EXPECT_EQ(Shown(*loaded.doc), kShown);
    EXPECT_EQ(loaded.doc->m_encoding, (EncodingDecision{TextEncoding::Utf8, EncodingReason::ByteOrderMark, false}));
}

// Converted as ANSEL, every accented letter would come out wrong.
TEST(LoadEncoding, Utf8MarkOutweighsTheCharLine) {
    for (const char* charValue : {"ANSEL", "ANSI", "IBMPC", "MACINTOSH"}) {
        const auto loaded = test::LoadText("\xEF\xBB\xBF" + Family(charValue));
        EXPECT_EQ(Shown(*loaded.doc), kShown) << charValue;
        EXPECT_EQ(loaded.doc->m_strCharSet, charValue);
        EXPECT_EQ(loaded.doc->m_encoding, (EncodingDecision{TextEncoding::Utf8, EncodingReason::ByteOrderMark, true}));
    }
}

TEST(LoadEncoding, Utf16FilesReadAsTheirUtf8Twin) {
    const struct {
        Utf16File form;
        EncodingDecision decision;
    } cases[] = {
        {Utf16File::LittleEndian, {TextEncoding::Utf16LE, EncodingReason::FirstBytes, false}},
        {Utf16File::BigEndian, {TextEncoding::Utf16BE, EncodingReason::FirstBytes, false}},
        {Utf16File::LittleEndianWithMark, {TextEncoding::Utf16LE, EncodingReason::ByteOrderMark, false}},
        {Utf16File::BigEndianWithMark, {TextEncoding::Utf16BE, EncodingReason::ByteOrderMark, false}},
    };
    for (const auto& c : cases) {
        for (const char* lineEnd : {"\n", "\r\n", "\r"}) {
            const auto loaded = test::LoadText(test::Utf16Bytes(Family("UNICODE", lineEnd), c.form));
            EXPECT_EQ(Shown(*loaded.doc), kShown) << static_cast<int>(c.form);
            EXPECT_EQ(loaded.doc->m_strCharSet, "UNICODE");
            EXPECT_EQ(loaded.doc->m_encoding, c.decision) << static_cast<int>(c.form);
        }
    }
    // Leading blank lines do not hide the encoding.
    const auto blank = test::LoadText(test::Utf16Bytes("\r\n  \n" + Family("UNICODE"), Utf16File::BigEndian));
    EXPECT_EQ(Shown(*blank.doc), kShown);
}

TEST(LoadEncoding, Utf16OutweighsTheCharLine) {
    const auto loaded = test::LoadText(test::Utf16Bytes(Family("ANSEL"), Utf16File::LittleEndian));
    EXPECT_EQ(Shown(*loaded.doc), kShown);
    EXPECT_TRUE(loaded.doc->m_encoding.charValueOverruled);
}

TEST(LoadEncoding, IllFormedUtf16BecomesReplacementCharacters) {
    std::string bytes = test::Utf16Bytes("0 @I1@ INDI\n1 NAME Ann /Lee", Utf16File::LittleEndian);
    bytes += "\x3D\xD8"; // a high surrogate without its low half
    bytes += test::Utf16Bytes("/\n1 SEX F\n0 @I2@ INDI\n1 NAME Bo", Utf16File::LittleEndian);
    bytes += std::string("\x00\xDC", 2); // a low one alone
    bytes += test::Utf16Bytes(" /Lee/\n0 @I3@ INDI\n1 NAME Cy", Utf16File::LittleEndian);
    bytes += "x"; // half a character at the end
    const auto loaded = test::LoadText(bytes);
    ASSERT_EQ(loaded.doc->m_nPersons, 3);
    EXPECT_EQ(loaded.doc->FindPerson("I1")->m_strSurname.view(), "Lee\uFFFD");
    EXPECT_EQ(loaded.doc->FindPerson("I1")->m_cSex, U'F');
    EXPECT_EQ(loaded.doc->FindPerson("I2")->m_strGivenNames.view(), "Bo\uFFFD");
    EXPECT_EQ(loaded.doc->FindPerson("I3")->m_strGivenNames.view(), "Cy\uFFFD");
}

// A file that says UNICODE but is written in 8-bit bytes stays UTF-8, as before.
TEST(LoadEncoding, CharUnicodeInEightBitBytesIsUtf8) {
    const auto loaded = test::LoadText(Family("UNICODE"));
    EXPECT_EQ(Shown(*loaded.doc), kShown);
    EXPECT_EQ(loaded.doc->m_encoding, (EncodingDecision{TextEncoding::Utf8, EncodingReason::CharValue, false}));
}

// The bar counts the file's bytes, two a code unit, not the UTF-8 made of them.
TEST(LoadEncoding, Utf16ProgressCountsTheFilesBytesTo100) {
    for (const char* letter : {"x", "\u00E9", "\U00012345"}) {
        std::string text;
        for (int line = 0; line < 100; ++line) {
            for (int i = 0; i < (std::string_view(letter) == "\U00012345" ? 499 : 998); ++i) {
                text += letter;
            }
            text += "\r\n";
        }
        RecordingProgress progress;
        LoadEnvironment env;
        env.progress = &progress;
        test::LoadText(test::Utf16Bytes(text, Utf16File::LittleEndian), env);
        std::vector<int> expected;
        for (int percent = 1; percent <= 100; ++percent) {
            expected.push_back(percent);
        }
        EXPECT_EQ(progress.positions, expected) << letter;
    }
}

} // namespace
} // namespace stirpex
