#include "gedcom/byte_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

using namespace std::string_literals;

TEST(ByteEncoding, FirstBytesShowMarksAndUtf16) {
    const struct {
        std::string bytes;
        ByteDetection detection;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "0 HEAD",
         {ByteForm::Utf8, true, 3}},
        {"\xFF\xFE"
         "0\0 \0"s,
         {ByteForm::Utf16LE, true, 2}},
        {"\xFE\xFF"
         "\0"
         "0"s,
         {ByteForm::Utf16BE, true, 2}},
        {"\xFF\xFE", {ByteForm::Utf16LE, true, 2}}, // a mark and nothing else
        {"0\0 \0H\0"s, {ByteForm::Utf16LE, false, 0}},
        {"\0"
         "0\0 \0H"s,
         {ByteForm::Utf16BE, false, 0}},
        {"\r\0\n\0 \0\t\0"
         "0\0"s,
         {ByteForm::Utf16LE, false, 0}}, // leading blank lines
        {"\0\n\0"
         "1"s,
         {ByteForm::Utf16BE, false, 0}},
        // ASCII-compatible text of any set, and what only starts like UTF-16.
        {"0 HEAD\r\n", {}},
        {"\xE1"
         "0 HEAD",
         {}},
        {"", {}},
        {"0", {}},
        {"\0\0"
         "0\0"s,
         {}},            // a zero character is no blank
        {"H\0E\0"s, {}}, // the first line has no level
        {"\n\0\n"s, {}}, // no character after the blanks
        {"\xEF\xBB"
         "0",
         {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DetectByteForm(c.bytes), c.detection) << testing::PrintToString(c.bytes);
    }
}

TEST(ByteEncoding, DecisionFollowsTheBytesOverTheCharValue) {
    const ByteDetection plain{};
    const ByteDetection utf8Mark{ByteForm::Utf8, true, 3};
    const ByteDetection utf16Mark{ByteForm::Utf16BE, true, 2};
    const ByteDetection utf16Bytes{ByteForm::Utf16LE, false, 0};
    using enum TextEncoding;
    using enum EncodingReason;
    const struct {
        ByteDetection detection;
        CharSet charSet;
        const char* charValue;
        EncodingDecision decision;
    } cases[] = {
        {plain, CharSet::Ansel, "", {Ansel, NoCharValue, false}},
        {plain, CharSet::Ansel, "LATIN1", {Ansel, NoCharValue, false}},
        {plain, CharSet::Ansel, "ANSEL", {Ansel, CharValue, false}},
        {plain, CharSet::None, "ASCII", {Ansi, CharValue, false}},
        {plain, CharSet::Utf8, "UNICODE", {Utf8, CharValue, false}}, // 8-bit bytes: read as UTF-8, as before
        {plain, CharSet::IbmPc, "IBMPC", {IbmPc, CharValue, false}},
        {plain, CharSet::Macintosh, "MACINTOSH", {Macintosh, CharValue, false}},
        {utf8Mark, CharSet::Utf8, "UTF-8", {Utf8, ByteOrderMark, false}},
        {utf8Mark, CharSet::Utf8, "", {Utf8, ByteOrderMark, false}},
        {utf8Mark, CharSet::Utf8, "unicode", {Utf8, ByteOrderMark, false}},
        {utf8Mark, CharSet::Utf8, "ANSEL", {Utf8, ByteOrderMark, true}},
        {utf16Mark, CharSet::Utf8, "UNICODE", {Utf16BE, ByteOrderMark, false}},
        {utf16Mark, CharSet::Utf8, "UTF-8", {Utf16BE, ByteOrderMark, true}},
        {utf16Bytes, CharSet::Utf8, "UNICODE", {Utf16LE, FirstBytes, false}},
        {utf16Bytes, CharSet::Utf8, "ANSI", {Utf16LE, FirstBytes, true}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideEncoding(c.detection, c.charSet, c.charValue), c.decision) << c.charValue;
    }
}

} // namespace
} // namespace stirpex
