#include "page/page_text.h"

#include "cli/cli_test_support.h"
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

constexpr std::string_view kFamily = "0 @I1@ INDI\n1 NAME Tom /Ash/\n1 SEX M\n1 FAMC @F1@\n1 FAMS @F2@\n1 NOTE own\n"
                                     "1 BIRT\n2 DATE 1 MAY 1850\n2 PLAC A very long place name, Countyshire, England\n"
                                     "2 SOUR @S1@\n"
                                     "0 @I2@ INDI\n1 NAME Sam /Ash/\n1 SEX M\n1 FAMS @F1@\n"
                                     "0 @I4@ INDI\n1 NAME Ida /Elm/\n1 SEX F\n1 FAMS @F2@\n"
                                     "0 @I5@ INDI\n1 NAME Kit /Ash/\n1 FAMC @F2@\n"
                                     "0 @F1@ FAM\n1 HUSB @I2@\n1 CHIL @I1@\n"
                                     "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I4@\n1 NOTE wed\n1 CHIL @I5@\n"
                                     "0 @S1@ SOUR\n0 TRLR\n";

// Edit Copy and the command line must never drift apart: both are this one text.
TEST(PageText, IsWhatTheCommandLinePrintsForEveryPerson) {
    test::CliRun run(kFamily);
    for (const char* key : {"I1", "I2", "I4", "I5"}) {
        run.operands = {key};
        const std::string printed = run(cli::RunPageCommand);
        EXPECT_EQ(PageText(*run.loaded.doc, run.loaded.doc->FindPerson(key), "test.ged"), printed) << key;
    }
    // With a home person, as the viewer copies a page and `page --home` prints it.
    run.options["--home"] = "I2";
    for (const char* key : {"I1", "I2", "I5"}) {
        run.operands = {key};
        const std::string printed = run(cli::RunPageCommand);
        EXPECT_EQ(
            PageText(*run.loaded.doc, run.loaded.doc->FindPerson(key), "test.ged", run.loaded.doc->FindPerson("I2")),
            printed)
            << key;
    }
}

TEST(PageText, MarksLinksAndListsTheTrees) {
    test::CliRun run(kFamily);
    EXPECT_EQ(PageText(*run.loaded.doc, run.loaded.doc->FindPerson("I1"), "family.ged"),
              "family.ged - I1\n\n"
              "Family Name   Ash  [Notes]\n"
              "Given Names   Tom\n"
              "Birth         1 MAY 1850 A very long place name, Countyshire, England  [Sources]\n"
              "Death\n"
              "Father        Ash, Sam (?-?) -> I2\n"
              "Mother        Unknown\n"
              "Spouse:       Elm, Ida (?-?) -> I4\n"
              "              Married    [Notes]\n"
              "Children:     Ash, Kit (?-?) -> I5\n"
              "\nTrees: ancestors descendants ychromosome\n");
}

} // namespace
} // namespace stirpex
