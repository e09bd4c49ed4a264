#include "cli/commands.h"

#include "cli/cli_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

using test::CliRun;

// The text of a page with 20,000 links: once took a search of every link for
// every text, minutes for a few hundred thousand.
TEST(PageCommandText, EveryChildOfALargeFamilyLeadsToItsKeyInOrder) {
    constexpr int kChildren = 20000;
    std::string gedcom = "0 @M@ INDI\n1 NAME Mary /Big/\n1 SEX F\n1 FAMS @F1@\n0 @F1@ FAM\n1 WIFE @M@\n";
    for (int i = 0; i < kChildren; ++i) {
        gedcom += "1 CHIL @C" + std::to_string(i) + "@\n";
    }
    for (int i = 0; i < kChildren; ++i) {
        gedcom += "0 @C" + std::to_string(i) + "@ INDI\n1 NAME Kid" + std::to_string(i) + " /Big/\n";
    }
    CliRun run(gedcom);
    run.operands = {"M"};
    std::string expected = "Children:     Big, Kid0 (?-?) -> C0\n";
    for (int i = 1; i < kChildren; ++i) {
        expected += "              Big, Kid" + std::to_string(i) + " (?-?) -> C" + std::to_string(i) + "\n";
    }
    expected += "\nTrees: descendants mtdna\n";
    const std::string out = run(cli::RunPageCommand);
    ASSERT_GE(out.size(), expected.size());
    EXPECT_EQ(out.substr(out.size() - expected.size()), expected);
}

// At 195 pixels the notes column once stood on the values and its links were
// read into them; now the columns move right and the rows read as at any width.
TEST(PageCommandText, OnlyTextsDrawnAsLinksAreMarked) {
    CliRun run("0 @I1@ INDI\n1 NAME Ann /Lee/\n1 NOTE a note\n1 FAMS @F1@\n"
               "0 @F1@ FAM\n1 WIFE @I1@\n1 MARR\n2 DATE 1900\n2 PLAC York\n1 NOTE wed\n0 TRLR\n");
    run.operands = {"I1"};
    run.options = {{"--width", "195"}};
    EXPECT_EQ(run(cli::RunPageCommand), "test.ged - I1\n\n"
                                        "Family Name   Lee  [Notes]\n"
                                        "Given Names   Ann\n"
                                        "Birth\n"
                                        "Death\n"
                                        "Father        Unknown\n"
                                        "Mother        Unknown\n"
                                        "Spouse:       Unknown\n"
                                        "              Married 1900 York  [Notes]\n"
                                        "\nTrees: descendants\n");
}

// A width of -2147483648 once carried the notes column past the smallest int.
TEST(PageCommandOptions, WidthOutsideAnyScreenIsAUsageError) {
    CliRun run("0 @I1@ INDI\n0 TRLR\n");
    for (const char* width : {"-2147483648", "-1", "100001", "99999999999", "wide"}) {
        run.options = {{"--width", width}};
        try {
            run(cli::RunPageCommand);
            ADD_FAILURE() << width << " accepted";
        } catch (const cli::UsageError& e) {
            EXPECT_EQ(e.what(), "--width needs a whole number from 0 to 100000, not '" + std::string(width) + "'");
        }
    }
    for (const char* width : {"0", "100000"}) {
        run.options = {{"--width", width}};
        EXPECT_NO_THROW(run(cli::RunPageCommand)) << width;
    }
}

} // namespace
} // namespace stirpex
