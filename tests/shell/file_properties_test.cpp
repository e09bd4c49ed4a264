#include "shell/file_properties.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stirpex {
namespace {

constexpr std::string_view kHeaderAndRecords = "0 HEAD\n1 SOUR STIRPEX\n2 VERS 1.0.9\n1 DEST ANSTFILE\n"
                                               "1 DATE 12 MAY 2025\n1 SUBM @U1@\n1 GEDC\n2 VERS 5.5\n"
                                               "1 CHAR ANSEL\n"
                                               "0 @U1@ SUBM\n1 NAME Edith Harrow\n"
                                               "0 @I1@ INDI\n1 NOTE Kept a ledger\n1 SOUR Family bible\n"
                                               "0 @I2@ INDI\n0 @I3@ INDI\n0 @F1@ FAM\n0 @F2@ FAM\n"
                                               "0 @N1@ NOTE Parted\n0 @S1@ SOUR\n0 @M1@ OBJE\n";

struct Expected {
    int controlId;
    std::string_view label;
    std::string value;
    PropertyAlignment alignment;
};

TEST(FileProperties, ValuesOfALoadedFileInTheDialogsOrder) {
    const auto loaded = test::LoadText(kHeaderAndRecords, {}, "harrow.ged");
    const FileProperties properties = GetFileProperties(*loaded.doc, "harrow.ged", "/home/edith/harrow.ged");
    constexpr auto L = PropertyAlignment::Left;
    constexpr auto R = PropertyAlignment::Right;
    // Two notes and two sources: the inline ones count beside the records.
    const Expected expected[kFilePropertyCount] = {
        {1012, "File name", "harrow.ged", L},
        {1013, "File date", "12 MAY 2025", L},
        {1018, "Character set", "ANSEL", L},
        {1014, "Submitter", "Edith Harrow", L},
        {1015, "Source", "STIRPEX", L},
        {1016, "Destination", "ANSTFILE", L},
        {1017, "GEDCOM version", "5.5", L},
        {1019, "Full file path", "/home/edith/harrow.ged", L},
        {1024, "File size (bytes)", std::to_string(kHeaderAndRecords.size()), R},
        {1020, "Individuals", "3", R},
        {1021, "Families", "2", R},
        {1022, "Notes", "2", R},
        {1023, "Sources", "2", R},
        {1025, "External references", "1", R},
    };
    for (std::size_t i = 0; i < kFilePropertyCount; ++i) {
        EXPECT_EQ(properties[i].controlId, expected[i].controlId) << i;
        EXPECT_EQ(properties[i].label, expected[i].label) << i;
        EXPECT_EQ(properties[i].value, expected[i].value) << i;
        EXPECT_EQ(properties[i].alignment, expected[i].alignment) << i;
    }
}

TEST(FileProperties, AFileWithoutHeaderLinesShowsEmptyTextsAndZeroCounts) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 NAME Ann /Harrow/\n", {}, "bare.ged");
    const FileProperties properties = GetFileProperties(*loaded.doc, "bare.ged", "/tmp/bare.ged");
    std::vector<std::string> values;
    for (const FileProperty& p : properties) {
        values.push_back(p.value);
    }
    EXPECT_EQ(values, (std::vector<std::string>{"bare.ged", "", "", "", "", "", "", "/tmp/bare.ged", "32", "1", "0",
                                                "0", "0", "0"}));
}

TEST(FileProperties, FileSizePastTwoToTheThirtyFirstIsPrintedWhole) {
    CStirpexDoc doc;
    doc.m_nFileLength = 6'442'450'944; // 6 GiB
    EXPECT_EQ(GetFileProperties(doc, "big.ged", "/big.ged")[8].value, "6442450944");
    doc.m_nFileLength = 2'147'483'648;
    EXPECT_EQ(GetFileProperties(doc, "big.ged", "/big.ged")[8].value, "2147483648");
}

} // namespace
} // namespace stirpex
