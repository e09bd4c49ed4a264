#include "find/search.h"

#include "find/find_test_support.h"
#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stirpex {
namespace {

using Lines = std::vector<std::string>;

// Mary Ann Smith has a married name under her NAME and a shared note; Robert
// Jones is her husband, with a cited occupation; Rupert Moskowitz has an alias
// and a year before the common era; Anna Peters has a married name of its own
// fact and the shared note under her death; Émile has no sex.
constexpr std::string_view kPeople = "0 HEAD\n1 CHAR UTF-8\n"
                                     "0 @I1@ INDI\n1 NAME Mary Ann /Smith/\n2 _MARNM Jones\n1 SEX F\n"
                                     "1 BIRT\n2 DATE 12 MAR 1850\n2 PLAC Boston, Massachusetts\n"
                                     "1 RESI\n2 DATE 1875\n2 PLAC Chicago, Illinois\n"
                                     "1 DEAT\n2 DATE 1920\n2 PLAC Chicago, Illinois\n1 NOTE @N1@\n1 FAMS @F1@\n"
                                     "0 @I2@ INDI\n1 NAME Robert /Jones/\n1 SEX M\n"
                                     "1 BIRT\n2 DATE 1845\n2 PLAC Malmö, Sweden\n"
                                     "1 OCCU Blacksmith\n2 SOUR @S1@\n3 PAGE Page 12, entry for the smithy\n"
                                     "1 FAMS @F1@\n"
                                     "0 @I3@ INDI\n1 NAME Rupert /Moskowitz/\n1 NAME Robert /Moskovitz/\n1 SEX M\n"
                                     "1 BIRT\n2 DATE 44 BC\n2 PLAC Rome\n"
                                     "1 NOTE The family came from Łódź in the winter of 1890.\n"
                                     "0 @I4@ INDI\n1 NAME Anna /Peters/\n1 SEX F\n1 _MARNM Schwarz\n"
                                     "1 DEAT\n2 DATE ABT 1901\n2 PLAC Chicago\n2 NOTE @N1@\n"
                                     "0 @I5@ INDI\n1 NAME Émile /Zoë/\n"
                                     "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I1@\n"
                                     "1 MARR\n2 DATE 1870\n2 PLAC Springfield\n"
                                     "0 @N1@ NOTE Emigrated from Sweden with the Lindqvist brothers.\n"
                                     "0 @S1@ SOUR\n1 TITL Parish register of Gränna\n"
                                     "0 TRLR\n";

class SearchTest : public ::testing::Test {
protected:
    // Each hit as "name | matched".
    Lines found(const SearchQuery& query) const {
        Lines lines;
        for (const SearchHit& hit : Search(*m_loaded.doc, m_collator, query)) {
            lines.push_back(hit.name + " | " + hit.matched);
        }
        return lines;
    }

    test::AsciiCollator m_collator;
    test::LoadedDoc m_loaded = test::LoadText(kPeople);
};

SearchQuery bySurname(std::string surname) {
    SearchQuery query;
    query.surname = std::move(surname);
    return query;
}

TEST_F(SearchTest, QueryWithoutCriterionFindsNobody) {
    EXPECT_TRUE(found({}).empty());
    SearchQuery blanks;
    blanks.surname = "  ";
    blanks.given = " ";
    blanks.place = "\t";
    blanks.text = " -- ";
    EXPECT_TRUE(blanks.empty());
    EXPECT_TRUE(found(blanks).empty());
}

TEST_F(SearchTest, SurnameIsAPrefixOfAnyNameInListOrder) {
    EXPECT_EQ(found(bySurname("sm")), Lines{"Smith, Mary Ann (1850-1920) | "});
    // Her married name finds Mary beside her husband, sorted by display name.
    EXPECT_EQ(found(bySurname("JONES")),
              (Lines{"Jones, Robert (1845-?) | ", "Smith, Mary Ann (1850-1920) | married name Mary Ann Jones"}));
    EXPECT_EQ(found(bySurname("schw")), Lines{"Peters, Anna (?-c1901) | married name Anna Schwarz"});
    EXPECT_EQ(found(bySurname("Moskov")), Lines{"Moskowitz, Rupert (44 BC-?) | alias Robert Moskovitz"});
    EXPECT_TRUE(found(bySurname("ones")).empty());
}

TEST_F(SearchTest, GivenNamesAreWordPrefixesOnTheSameNameAsTheSurname) {
    SearchQuery query;
    query.given = "ann";
    EXPECT_EQ(found(query), (Lines{"Peters, Anna (?-c1901) | ", "Smith, Mary Ann (1850-1920) | "}));
    query.given = "ann mary";
    EXPECT_EQ(found(query), Lines{"Smith, Mary Ann (1850-1920) | "});
    query.given = "rob";
    EXPECT_EQ(found(query),
              (Lines{"Jones, Robert (1845-?) | ", "Moskowitz, Rupert (44 BC-?) | alias Robert Moskovitz"}));
    // Robert is an alias and Moskowitz the own surname: two names, so no match.
    query.surname = "Moskowitz";
    EXPECT_TRUE(found(query).empty());
    query.surname = "Moskov";
    EXPECT_EQ(found(query), Lines{"Moskowitz, Rupert (44 BC-?) | alias Robert Moskovitz"});
}

TEST_F(SearchTest, SoundexMatchesEitherCode) {
    SearchQuery query;
    query.soundex = "Smyth"; // S530 as Smith
    EXPECT_EQ(found(query), Lines{"Smith, Mary Ann (1850-1920) | "});
    query.soundex = "Peterson"; // P362 as Peters
    EXPECT_EQ(found(query), Lines{"Peters, Anna (?-c1901) | "});
    query.soundex = "Moskovitz"; // 645740 as Moskowitz, and as the alias
    EXPECT_EQ(found(query), Lines{"Moskowitz, Rupert (44 BC-?) | "});
    // S263 against S262, but the Daitch-Mokotoff codes share 479400.
    query.soundex = "Schwartz";
    EXPECT_EQ(found(query), Lines{"Peters, Anna (?-c1901) | married name Anna Schwarz"});
    query.soundex = "Baker";
    EXPECT_TRUE(found(query).empty());
}

TEST_F(SearchTest, PlaceIsASubstringOfAFactsPlaceIgnoringCaseAndAccents) {
    SearchQuery query;
    query.place = "CHICAGO";
    EXPECT_EQ(found(query), (Lines{"Peters, Anna (?-c1901) | Death 1901, Chicago",
                                   "Smith, Mary Ann (1850-1920) | Residence 1875, Chicago, Illinois"}));
    query.place = "malmo";
    EXPECT_EQ(found(query), Lines{"Jones, Robert (1845-?) | Birth 1845, Malmö, Sweden"});
    // A family's fact counts for both partners.
    query.place = "springf";
    EXPECT_EQ(found(query), (Lines{"Jones, Robert (1845-?) | Marriage 1870, Springfield",
                                   "Smith, Mary Ann (1850-1920) | Marriage 1870, Springfield"}));
}

TEST_F(SearchTest, YearsAndPlaceHoldForOneFact) {
    SearchQuery query;
    query.fromYear = 1870;
    query.toYear = 1880;
    EXPECT_EQ(found(query), (Lines{"Jones, Robert (1845-?) | Marriage 1870, Springfield",
                                   "Smith, Mary Ann (1850-1920) | Residence 1875, Chicago, Illinois"}));
    query.fromYear.reset();
    query.toYear = -1;
    EXPECT_EQ(found(query), Lines{"Moskowitz, Rupert (44 BC-?) | Birth 44 BC, Rome"});
    // Mary was in Chicago in 1875 and 1920, not in between.
    query.fromYear = 1900;
    query.toYear = 1910;
    query.place = "chicago";
    EXPECT_EQ(found(query), Lines{"Peters, Anna (?-c1901) | Death 1901, Chicago"});
    query.fromYear = 1921;
    query.toYear.reset();
    EXPECT_TRUE(found(query).empty());
}

TEST_F(SearchTest, SexLeavesOutTheOtherAndTheUnknown) {
    SearchQuery query;
    query.sex = 'F';
    EXPECT_EQ(found(query), (Lines{"Peters, Anna (?-c1901) | ", "Smith, Mary Ann (1850-1920) | "}));
    query.sex = 'm';
    EXPECT_EQ(found(query), (Lines{"Jones, Robert (1845-?) | ", "Moskowitz, Rupert (44 BC-?) | "}));
}

TEST_F(SearchTest, WordsBeginWordsOfNotesCitationsAndFactValues) {
    SearchQuery query;
    query.text = "sweden";
    // The shared note under her record and under Anna's death.
    EXPECT_EQ(found(query),
              (Lines{"Peters, Anna (?-c1901) | note: Emigrated from Sweden with the Lindqvist brothers.",
                     "Smith, Mary Ann (1850-1920) | note: Emigrated from Sweden with the Lindqvist brothers."}));
    query.text = "LODZ";
    EXPECT_EQ(found(query),
              Lines{"Moskowitz, Rupert (44 BC-?) | note: The family came from Łódź in the winter of 1890."});
    query.text = "smith";
    EXPECT_EQ(found(query), Lines{"Jones, Robert (1845-?) | citation: Page 12, entry for the smithy"});
    query.text = "blacksmith granna";
    EXPECT_EQ(found(query), Lines{"Jones, Robert (1845-?) | Occupation: Blacksmith"});
    query.text = "blacksmith sweden"; // Sweden is his birth place, not a word of his texts
    EXPECT_TRUE(found(query).empty());
    query.text = "lindq";
    query.sex = 'F';
    query.surname = "pet";
    EXPECT_EQ(found(query), Lines{"Peters, Anna (?-c1901) | note: Emigrated from Sweden with the Lindqvist brothers."});
}

// A note or source is read once for all who name it, before the people: what
// it shows must still be the first line that holds a word, and a key that a
// later record takes over names only that record.
TEST(Search, NotesAndSourcesShowWhereTheirWordsAre) {
    const test::LoadedDoc loaded =
        test::LoadText("0 HEAD\n1 CHAR UTF-8\n"
                       "0 @I1@ INDI\n1 NAME Ann /Lee/\n1 NOTE @N1@\n1 SOUR @S1@\n"
                       "0 @I2@ INDI\n1 NAME Bo /Lee/\n1 NOTE @N2@\n"
                       "0 @I3@ INDI\n1 NAME Cy /Lee/\n1 BIRT\n2 NOTE @N1@\n"
                       "0 @N1@ NOTE First line of nothing.\n1 CONT Then the ÉMIGRÉS sailed.\n"
                       "0 @N2@ NOTE Emigres in an older note.\n"
                       "0 @N2@ NOTE A later note under the same key.\n"
                       "0 @S1@ SOUR\n1 TITL Ship lists of the emigres, Hamburg\n"
                       "0 TRLR\n");
    const test::AsciiCollator collator;
    // Words alone read every note ahead; with a surname, each note when a person names it.
    for (const std::string surname : {"", "lee"}) {
        SearchQuery query;
        query.surname = surname;
        query.text = "emigres";
        Lines lines;
        for (const SearchHit& hit : Search(*loaded.doc, collator, query)) {
            lines.push_back(hit.name + " | " + hit.matched);
        }
        EXPECT_EQ(lines, (Lines{"Lee, Ann (?-?) | note: Then the ÉMIGRÉS sailed.",
                                "Lee, Cy (?-?) | note: Then the ÉMIGRÉS sailed."}))
            << surname;
        query.text = "hamburg";
        std::vector<SearchHit> hits = Search(*loaded.doc, collator, query);
        ASSERT_EQ(hits.size(), 1u) << surname;
        EXPECT_EQ(hits[0].matched, "source: Ship lists of the emigres, Hamburg");
        query.text = "later";
        hits = Search(*loaded.doc, collator, query);
        ASSERT_EQ(hits.size(), 1u) << surname;
        EXPECT_EQ(hits[0].name, "Lee, Bo (?-?)");
    }
}

TEST_F(SearchTest, HitsCarryYearsAndPlaces) {
    SearchQuery query;
    query.surname = "smith";
    std::vector<SearchHit> hits = Search(*m_loaded.doc, m_collator, query);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].person, m_loaded.doc->FindPerson("I1"));
    EXPECT_EQ(hits[0].years, "1850-1920");
    EXPECT_EQ(hits[0].places, "Boston, Massachusetts; Chicago, Illinois");
    // The fact that matched gives the place: her own first, then her family's.
    query.fromYear = 1870;
    hits = Search(*m_loaded.doc, m_collator, query);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].places, "Chicago, Illinois");
    EXPECT_EQ(hits[0].matched, "Residence 1875, Chicago, Illinois");
    query.place = "spring";
    hits = Search(*m_loaded.doc, m_collator, query);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].places, "Springfield");
}

} // namespace
} // namespace stirpex
