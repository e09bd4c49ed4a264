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

std::vector<std::string> Column(const FileProperties& properties, int column) {
    std::vector<std::string> values;
    for (const FileProperty& p : properties) {
        switch (column) {
        case 0:
            values.push_back(std::to_string(p.controlId));
            break;
        case 1:
            values.emplace_back(p.label);
            break;
        case 2:
            values.push_back(p.value);
            break;
        default:
            values.push_back(p.alignment == PropertyAlignment::Left ? "left" : "right");
            break;
        }
    }
    return values;
}

TEST(FileProperties, ValuesOfALoadedFileInTheDialogsOrder) {
    const auto loaded = test::LoadText(kHeaderAndRecords, {}, "harrow.ged");
    const FileProperties properties = GetFileProperties(*loaded.doc, "harrow.ged", "/home/edith/harrow.ged");
    using V = std::vector<std::string>;
    EXPECT_EQ(Column(properties, 0), (V{"1012", "1013", "1018", "1014", "1015", "1016", "1017", "1019", "1024", "1020",
                                        "1021", "1022", "1023", "1025"}));
    EXPECT_EQ(Column(properties, 1), (V{"File name", "File date", "Character set", "Submitter", "Source", "Destination",
                                        "GEDCOM version", "Full file path", "File size (bytes)", "Individuals",
                                        "Families", "Notes", "Sources", "External references"}));
    // Two notes and two sources: the inline ones count beside the records.
    EXPECT_EQ(Column(properties, 2),
              (V{"harrow.ged", "12 MAY 2025", "ANSEL", "Edith Harrow", "STIRPEX", "ANSTFILE", "5.5",
                 "/home/edith/harrow.ged", std::to_string(kHeaderAndRecords.size()), "3", "2", "2", "2", "1"}));
    EXPECT_EQ(Column(properties, 3), (V{"left", "left", "left", "left", "left", "left", "left", "left", "right",
                                        "right", "right", "right", "right", "right"}));
}

TEST(FileProperties, AFileWithoutHeaderLinesShowsEmptyTextsAndZeroCounts) {
    const auto loaded = test::LoadText("0 @I1@ INDI\n1 NAME Ann /Harrow/\n", {}, "bare.ged");
    const FileProperties properties = GetFileProperties(*loaded.doc, "bare.ged", "/tmp/bare.ged");
    using V = std::vector<std::string>;
    EXPECT_EQ(Column(properties, 2),
              (V{"bare.ged", "", "", "", "", "", "", "/tmp/bare.ged", "32", "1", "0", "0", "0", "0"}));
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
