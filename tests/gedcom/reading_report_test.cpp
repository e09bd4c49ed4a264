#include "gedcom/reading_report.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

using test::LoadText;

constexpr std::string_view kBroken = "0 HEAD\n"
                                     "0 @I1@ INDI\n"
                                     "1 NAME Ann /Lee/\n"
                                     "1 FAMC @F9@\n"
                                     "1 FAMS @F1@\n"
                                     "1 NOTE @N7@\n"
                                     "1 BIRT\n"
                                     "2 SOUR @S3@\n"
                                     "0 @I2@ INDI\n"
                                     "1 NAME Bo /Lee/\n"
                                     "0 @I2@ INDI\n"
                                     "1 NAME Cy /Lee/\n"
                                     "0 @F1@ FAM\n"
                                     "1 HUSB @I2@\n"
                                     "1 WIFE @I1@\n"
                                     "1 CHIL @I8@\n"
                                     "1 OBJE @O1@\n"
                                     "0 @I2@ INDI\n"
                                     "0 TRLR\n";

TEST(ReadingReport, ListsEveryPointerThatNamesNoRecordWithItsRecord) {
    const auto loaded = LoadText(kBroken);
    const ReadingReport report = MakeReadingReport(*loaded.doc);
    ASSERT_EQ(report.missingTotal, 5);
    ASSERT_EQ(report.missing.size(), 5u);
    const std::pair<std::string_view, std::string_view> expected[] = {
        {"FAMC", "F9"}, {"NOTE", "N7"}, {"SOUR", "S3"}, {"CHIL", "I8"}, {"OBJE", "O1"}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(report.missing[i].tag, expected[i].first) << i;
        EXPECT_EQ(report.missing[i].key, expected[i].second) << i;
    }
    EXPECT_EQ(report.missing[0].from.kind, RecordKind::Individual);
    EXPECT_EQ(report.missing[0].from.index, 0);
    EXPECT_EQ(report.missing[3].from.kind, RecordKind::Family);
    EXPECT_EQ(report.missing[3].from.key, "F1");
}

TEST(ReadingReport, NamesEachDuplicateIdentifierOnceWithAllItsRecordsInFileOrder) {
    const auto loaded = LoadText(kBroken);
    const ReadingReport report = MakeReadingReport(*loaded.doc);
    EXPECT_EQ(report.duplicateTotal, 2); // two of the three I2 records are shadowed
    ASSERT_EQ(report.duplicates.size(), 1u);
    EXPECT_EQ(report.duplicates[0].kind, RecordKind::Individual);
    EXPECT_EQ(report.duplicates[0].key, "I2");
    EXPECT_EQ(report.duplicates[0].indices, (std::vector<std::int32_t>{1, 2, 3}));
}

TEST(ReadingReport, CleanFileReportsNothingAndAFamilyWithoutPartnersIsNotBroken) {
    const auto loaded = LoadText("0 @I1@ INDI\n1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @I1@\n0 TRLR\n");
    const ReadingReport report = MakeReadingReport(*loaded.doc);
    EXPECT_EQ(report.missingTotal, 0);
    EXPECT_EQ(report.duplicateTotal, 0);
    const std::string text = FormatReadingReport(report);
    EXPECT_NE(text.find("Pointers naming no record: none\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Duplicate identifiers: none\n"), std::string::npos) << text;
}

TEST(ReadingReport, ListsAreBoundedButTotalsCountEverything) {
    std::string text = "0 @F1@ FAM\n";
    for (std::size_t i = 0; i < kReportListedItems + 20; ++i) {
        text += "1 CHIL @X" + std::to_string(i) + "@\n";
    }
    const auto loaded = LoadText(text);
    const ReadingReport report = MakeReadingReport(*loaded.doc);
    EXPECT_EQ(report.missingTotal, static_cast<std::int64_t>(kReportListedItems + 20));
    EXPECT_EQ(report.missing.size(), kReportListedItems);
    EXPECT_NE(FormatReadingReport(report).find("  ...\n"), std::string::npos);
}

TEST(ReadingReport, SaysWhichEncodingWasReadAndWhy) {
    const struct {
        std::string_view text;
        std::string_view encoding;
        std::string_view reason;
    } cases[] = {
        {"0 HEAD\n1 CHAR ANSI\n0 TRLR\n", "ANSI (Windows-1252)", "the header says CHAR ANSI"},
        {"0 HEAD\n0 TRLR\n", "ANSEL", "the header names no character set"},
        {"0 HEAD\n1 GEDC\n2 VERS 7.0\n1 CHAR ANSEL\n0 TRLR\n", "UTF-8", "GEDCOM 7 files are UTF-8"},
        {"0 HEAD\n1 CHAR EBCDIC\n0 TRLR\n", "ANSEL", "the header's CHAR EBCDIC names no known set"},
        {"\xEF\xBB\xBF"
         "0 HEAD\n1 CHAR ANSEL\n0 TRLR\n",
         "UTF-8", "the file starts with a byte-order mark; the header's CHAR ANSEL does not match the bytes"},
        {std::string_view("0\0 \0H\0E\0A\0D\0\n\0", 14), "UTF-16LE", "the first bytes are UTF-16"},
    };
    for (const auto& c : cases) {
        const auto loaded = LoadText(c.text);
        const ReadingReport report = MakeReadingReport(*loaded.doc);
        EXPECT_EQ(report.encoding, c.encoding) << c.text;
        EXPECT_EQ(report.encodingReason, c.reason) << c.text;
    }
}

// An individual or family record keeps every line (as a fact or a line of
// one): its lines are never counted. An event outside them belongs to nobody.
TEST(ReadingReport, CountsLinesThatTookNoEffectWithTheirNumbersInTheFile) {
    const auto loaded = LoadText("0 HEAD\n"
                                 "0 @N1@ NOTE a long\n"
                                 "1 CONC  note\n"
                                 "1 CONC  joined\n"
                                 "0 @S1@ SOUR\n"
                                 "1 _UID 1234\n"
                                 "stray text\n"
                                 "\n"
                                 "1 _UID 5678\n"
                                 "0 @X1@ _LOC\n"
                                 "1 NAME Bo /Lee/\n"
                                 "1 BIRT\n"
                                 "2 DATE 1 \xFF\xFE"
                                 " 1900\n"
                                 "0 @I1@ INDI\n"
                                 "1 _UID 9\n"
                                 "2 _X\n"
                                 "0 TRLR\n");
    const ReadingReport report = MakeReadingReport(*loaded.doc);
    // The trailer ends the file and is understood; NAME under a record of no known kind is not.
    ASSERT_EQ(report.skipped.size(), 6u) << FormatReadingReport(report);
    EXPECT_EQ(report.skipped[0].tag, "_UID");
    EXPECT_EQ(report.skipped[0].lines.firstLines, (std::vector<std::int64_t>{6, 9}));
    // The empty line is no line of text and is not counted.
    EXPECT_EQ(report.skipped[1].tag, "");
    EXPECT_EQ(report.skipped[1].lines.firstLines, (std::vector<std::int64_t>{7}));
    EXPECT_EQ(report.skipped[2].tag, "BIRT");
    EXPECT_EQ(report.skipped[2].lines.firstLines, (std::vector<std::int64_t>{12}));
    // A record of an unknown kind: its tag is the word after its identifier.
    EXPECT_EQ(report.skipped[5].tag, "_LOC");
    EXPECT_EQ(report.skipped[5].lines.firstLines, (std::vector<std::int64_t>{10}));
    EXPECT_EQ(report.undecodable.count, 1);
    EXPECT_EQ(report.undecodable.firstLines, (std::vector<std::int64_t>{13}));
}

TEST(ReportTag, IsTheWordAtTheTagPositionCutWhole) {
    EXPECT_EQ(ReportTag("1 _UID 12"), "_UID");
    EXPECT_EQ(ReportTag("0 @I1@ INDI"), "INDI");
    EXPECT_EQ(ReportTag("0 @I1"), "");
    EXPECT_EQ(ReportTag("no level"), "");
    EXPECT_EQ(ReportTag("5 VALUE p. 42"), "VALUE"); // a level the reader does not read
    const std::string longTag = "2 " + std::string(30, 'A') +
                                "\xC3\xA9"
                                "B more";
    EXPECT_EQ(ReportTag(longTag), std::string(30, 'A')); // the é would be cut: it is left out whole
}

TEST(ReadingLog, CountsSkippedLinesByTagWithTheirFirstLineNumbers) {
    ReadingLog log;
    for (std::int64_t line = 1; line <= 8; ++line) {
        log.skipped("_UID", line * 10);
    }
    log.skipped("RESI", 3);
    log.skipped("", 4);
    log.skipped("", 5);
    const auto tags = log.skippedTags();
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].tag, "_UID");
    EXPECT_EQ(tags[0].lines.count, 8);
    EXPECT_EQ(tags[0].lines.firstLines, (std::vector<std::int64_t>{10, 20, 30, 40, 50}));
    EXPECT_EQ(tags[1].tag, ""); // two lines without a level sort before RESI's one
    EXPECT_EQ(tags[2].tag, "RESI");
    EXPECT_EQ(log.skippedLines(), 11);
}

TEST(ReadingLog, FileOfJunkTagsDoesNotGrowTheLogWithoutBound) {
    ReadingLog log;
    for (std::size_t i = 0; i < kMaxSkippedTags + 50; ++i) {
        log.skipped("T" + std::to_string(i), static_cast<std::int64_t>(i + 1));
    }
    const auto tags = log.skippedTags();
    EXPECT_EQ(tags.size(), kMaxSkippedTags + 1);
    EXPECT_EQ(tags[0].tag, kOtherTags);
    EXPECT_EQ(tags[0].lines.count, 50);
    EXPECT_EQ(log.skippedLines(), static_cast<std::int64_t>(kMaxSkippedTags + 50));
}

TEST(ReadingReport, TextNamesTheFirstLinesAndSaysWhenThereAreMore) {
    ReadingReport report;
    report.encoding = "UTF-8";
    report.encodingReason = "byte-order mark";
    report.skippedLines = 7;
    report.skipped.push_back({"_UID", {7, {1, 2, 3, 4, 5}}});
    report.undecodable = {1, {12}};
    const std::string text = FormatReadingReport(report);
    EXPECT_NE(text.find("Encoding: UTF-8 (byte-order mark)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  _UID: 7 (lines 1, 2, 3, 4, 5, ...)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Undecodable characters: in 1 line (line 12)\n"), std::string::npos) << text;
}

} // namespace
} // namespace stirpex
