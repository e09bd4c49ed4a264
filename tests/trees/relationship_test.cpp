#include "trees/relationship.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"
#include "trees/relationship_search.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace stirpex {
namespace {

// A family written as "FAMILY HUSBAND WIFE CHILD..." ("-" for a missing
// partner); persons as "ID SEX" (M, F or U). Each person's given name is
// the key, the surname "Test", and the FAMC and FAMS lines follow the families.
std::string Ged(const std::vector<std::string>& persons, const std::vector<std::vector<std::string>>& families) {
    std::map<std::string, std::string> lines;
    std::string fams;
    for (const auto& family : families) {
        fams += "0 @" + family[0] + "@ FAM\n";
        for (std::size_t i = 1; i < family.size(); ++i) {
            if (family[i] == "-") {
                continue;
            }
            const char* tag = i == 1 ? "HUSB" : i == 2 ? "WIFE" : "CHIL";
            fams += std::string("1 ") + tag + " @" + family[i] + "@\n";
            lines[family[i]] += std::string(i < 3 ? "1 FAMS @" : "1 FAMC @") + family[0] + "@\n";
        }
    }
    std::string ged;
    for (const std::string& person : persons) {
        const std::string id = person.substr(0, person.find(' '));
        ged +=
            "0 @" + id + "@ INDI\n1 NAME " + id + " /Test/\n1 SEX " + person.substr(id.size() + 1) + "\n" + lines[id];
    }
    return ged + fams;
}

class Relations {
public:
    explicit Relations(const std::string& ged) : m_loaded(test::LoadText(ged)) {}
    const CPerson& person(std::string_view id) const {
        const CPerson* found = m_loaded.doc->FindPerson(id);
        EXPECT_NE(found, nullptr) << id;
        return *found;
    }
    std::vector<Relationship> find(std::string_view a, std::string_view b) const {
        return FindRelationships(*m_loaded.doc, person(a), person(b));
    }
    // All the words found, "; " between them.
    std::string words(std::string_view a, std::string_view b) const {
        std::string text;
        for (const Relationship& r : find(a, b)) {
            text += (text.empty() ? "" : "; ") + r.words + (r.byMarriage ? " (m)" : "");
        }
        return text;
    }
    const CStirpexDoc& doc() const { return *m_loaded.doc; }

private:
    test::LoadedDoc m_loaded;
};

std::string Keys(const std::vector<const CPerson*>& people) {
    std::string text;
    for (const CPerson* person : people) {
        text += (text.empty() ? "" : " ") + std::string(person->m_strID.view());
    }
    return text;
}

// Four generations above A, three below, the lines beside them, and A's wife's family.
const Relations& Family() {
    static const Relations family(
        Ged({"GGF M",  "GGM F", "GF M",  "GM F", "GGU M", "C2P M", "C2 F",  "C2C M",  "FA M",  "MO F",
             "MO2 F",  "AU F",  "AUH M", "UN M", "SX U",  "A M",   "SIS F", "SISH M", "BRO M", "HB M",
             "C1 F",   "C1H M", "C1C M", "NI F", "GNE M", "W F",   "WF M",  "WM F",   "WB M",  "W2H M",
             "STEP M", "S M",   "SW F",  "D F",  "GS M",  "GGS F", "G3S M", "G4S F",  "Z U"},
            {{"F0", "GGF", "GGM", "GF", "GGU"},
             {"F1", "GF", "GM", "FA", "AU", "UN", "SX"},
             {"F2", "FA", "MO", "A", "SIS", "BRO"},
             {"F3", "FA", "MO2", "HB"},
             {"F4", "AUH", "AU", "C1"},
             {"F5", "C1H", "C1", "C1C"},
             {"F6", "SISH", "SIS", "NI"},
             {"F7", "-", "NI", "GNE"},
             {"F8", "A", "W", "S", "D"},
             {"F9", "S", "SW", "GS"},
             {"F10", "GS", "-", "GGS"},
             {"F11", "-", "GGS", "G3S"},
             {"F12", "G3S", "-", "G4S"},
             {"F13", "GGU", "-", "C2P"},
             {"F14", "C2P", "-", "C2"},
             {"F15", "-", "C2", "C2C"},
             {"F16", "WF", "WM", "W", "WB"},
             {"F17", "W2H", "W", "STEP"}}));
    return family;
}

TEST(Relationship, EveryKindSeenFromOnePerson) {
    const std::map<std::string, std::string> expected = {
        {"FA", "father"},
        {"MO", "mother"},
        {"GM", "grandmother"},
        {"GGF", "great-grandfather"},
        {"SIS", "sister"},
        {"HB", "half-brother"},
        {"AU", "aunt"},
        {"SX", "aunt or uncle"},
        {"GGU", "great-uncle"},
        {"NI", "niece"},
        {"GNE", "great-nephew"},
        {"C1", "first cousin"},
        {"C1C", "first cousin once removed"},
        {"C2P", "first cousin once removed"},
        {"C2", "second cousin"},
        {"C2C", "second cousin once removed"},
        {"D", "daughter"},
        {"GS", "grandson"},
        {"GGS", "great-granddaughter"},
        {"G3S", "great-great-grandson"},
        {"G4S", "3rd great-granddaughter"},
        {"W", "wife (m)"},
        {"WF", "father-in-law (m)"},
        {"WB", "brother-in-law (m)"},
        {"STEP", "step-son (m)"},
        {"MO2", "step-mother (m)"},
        {"SISH", "brother-in-law (m)"},
        {"SW", "daughter-in-law (m)"},
        {"AUH", "uncle by marriage (m)"},
        {"Z", ""},
        {"A", "self"},
    };
    for (const auto& [id, words] : expected) {
        EXPECT_EQ(Family().words("A", id), words) << id;
    }
}

TEST(Relationship, WordsAreTheSecondPersonsSeenTheOtherWay) {
    EXPECT_EQ(Family().words("G4S", "A"), "3rd great-grandfather");
    EXPECT_EQ(Family().words("GNE", "A"), "great-uncle");
    EXPECT_EQ(Family().words("C2C", "A"), "second cousin once removed");
    EXPECT_EQ(Family().words("SX", "A"), "nephew");
    EXPECT_EQ(Family().words("A", "HB"), "half-brother");
    EXPECT_EQ(Family().words("STEP", "A"), "step-father (m)");
    EXPECT_EQ(Family().words("WF", "A"), "son-in-law (m)");
}

TEST(Relationship, PathRunsThroughTheCommonCoupleHusbandFirst) {
    const std::vector<Relationship> found = Family().find("A", "C1");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(Keys(found[0].path), "A FA GF GM AU C1");
    EXPECT_EQ(Keys(found[0].commonAncestors), "GF GM");
    EXPECT_EQ(found[0].sentence, "C1 Test is the first cousin of A Test");
    EXPECT_FALSE(found[0].byMarriage);

    const std::vector<Relationship> half = Family().find("HB", "SIS");
    ASSERT_EQ(half.size(), 1u);
    EXPECT_EQ(Keys(half[0].path), "HB FA SIS");
    EXPECT_EQ(half[0].words, "half-sister");

    const std::vector<Relationship> ancestor = Family().find("NI", "GGF");
    ASSERT_EQ(ancestor.size(), 1u);
    EXPECT_EQ(Keys(ancestor[0].path), "NI SIS FA GF GGF");
    EXPECT_EQ(Keys(ancestor[0].commonAncestors), "GGF");
}

TEST(Relationship, MarriagePathsGoThroughTheSpouse) {
    const std::vector<Relationship> inLaw = Family().find("A", "WB");
    ASSERT_EQ(inLaw.size(), 1u);
    EXPECT_EQ(Keys(inLaw[0].path), "A W WF WM WB");
    EXPECT_EQ(Keys(inLaw[0].commonAncestors), "WF WM");
    const std::vector<Relationship> spouseOfRelative = Family().find("A", "AUH");
    ASSERT_EQ(spouseOfRelative.size(), 1u);
    EXPECT_EQ(Keys(spouseOfRelative[0].path), "A FA GF GM AU AUH");
    EXPECT_EQ(Family().find("A", "W")[0].sentence, "W Test is the wife of A Test");
}

TEST(Relationship, NoneFoundGivesNoRelationshipAndNoWords) {
    EXPECT_TRUE(Family().find("A", "Z").empty());
    EXPECT_EQ(RelationshipWords(Family().doc(), Family().person("A"), Family().person("Z")), "");
    EXPECT_EQ(RelationshipWords(Family().doc(), Family().person("A"), Family().person("GM")), "grandmother");
    EXPECT_EQ(NoRelationshipSentence(Family().person("A"), Family().person("Z")),
              "No relationship was found between A Test and Z Test.");
    // A person of no document (the page of an empty file) has no relatives.
    const CPerson stranger;
    EXPECT_TRUE(FindRelationships(Family().doc(), Family().person("A"), stranger).empty());
}

// Two brothers married two sisters: their children are cousins twice over, once through each couple.
TEST(Relationship, DoubleFirstCousinsGiveTwoRelationships) {
    const Relations r(Ged({"P1 M", "P2 F", "Q1 M", "Q2 F", "B1 M", "S1 F", "B2 M", "S2 F", "X M", "Y F"},
                          {{"FP", "P1", "P2", "B1", "B2"},
                           {"FQ", "Q1", "Q2", "S1", "S2"},
                           {"F1", "B1", "S1", "X"},
                           {"F2", "B2", "S2", "Y"}}));
    const std::vector<Relationship> found = r.find("X", "Y");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].words, "first cousin");
    EXPECT_EQ(found[1].words, "first cousin");
    EXPECT_EQ(Keys(found[0].commonAncestors) + " / " + Keys(found[1].commonAncestors), "P1 P2 / Q1 Q2");
}

// A first cousin through the father who is also a second cousin through the mother.
TEST(Relationship, ANearerLineDoesNotHideAnotherLine) {
    const Relations r(
        Ged({"G1 M", "G2 F", "H1 M", "H2 F", "M1 F", "M2 F", "FA M", "FB M", "MA F", "MB F", "X M", "Y F"},
            {{"FG", "G1", "G2", "FA", "FB"},
             {"FH", "H1", "H2", "M1", "M2"},
             {"FM1", "-", "M1", "MA"},
             {"FM2", "-", "M2", "MB"},
             {"FX", "FA", "MA", "X"},
             {"FY", "FB", "MB", "Y"}}));
    EXPECT_EQ(r.words("X", "Y"), "first cousin; second cousin");
}

// Someone recorded as their own grandfather, and a family naming its husband as its child:
// every search ends, and the relationships outside the loop are still found.
TEST(Relationship, LoopsInTheDataEnd) {
    const Relations r(
        Ged({"L1 M", "L2 M", "K F", "P M", "Q F", "O U"},
            {{"FL1", "L2", "-", "L1"}, {"FL2", "L1", "-", "L2"}, {"FK", "L1", "-", "K"}, {"FP", "P", "-", "P", "Q"}}));
    EXPECT_EQ(r.words("K", "L1"), "father");
    EXPECT_EQ(r.words("L1", "K"), "daughter");
    // L2 is both the son and the father of L1.
    EXPECT_EQ(r.words("K", "L2"), "half-brother; grandfather");
    EXPECT_EQ(r.words("Q", "P"), "father");
    EXPECT_EQ(r.words("P", "Q"), "daughter");
    EXPECT_EQ(r.words("K", "O"), "");
    EXPECT_EQ(r.words("Q", "O"), "");
}

// X is B's father and A's great-grandfather; A's father Y is also B's ancestor ten
// generations up. A search that climbed all of B's ancestry before (as the searches
// by marriage do for the spouses' climbs they share) must not let Y, which the
// search from A to B never reaches, hide X.
TEST(Relationship, ASharedClimbAnswersAsAFreshOne) {
    std::vector<std::vector<std::string>> families = {
        {"FX", "X", "-", "Z1"}, {"FZ", "Z1", "-", "Y"}, {"FY", "Y", "-", "A", "C1"}, {"FB", "X", "C9", "B"}};
    std::vector<std::string> persons = {"X M", "Z1 M", "Y M", "A M", "B M", "Q F"};
    for (int i = 1; i <= 9; ++i) {
        const std::string child = "C" + std::to_string(i);
        persons.push_back(child + (i == 9 ? " F" : " M"));
        if (i < 9) {
            families.push_back({"FC" + std::to_string(i), child, "-", "C" + std::to_string(i + 1)});
        }
    }
    const Relations r(Ged(persons, families));
    const auto lines = [&](BloodLineSearch& search) {
        std::string text;
        for (const BloodLine& line : search.find(r.person("A"), r.person("B"))) {
            text += std::to_string(line.up) + "/" + std::to_string(line.down) + " " + Keys(line.path) + "; ";
        }
        return text;
    };
    BloodLineSearch fresh(r.doc());
    EXPECT_EQ(lines(fresh), "3/1 A Y Z1 X B; ");
    BloodLineSearch shared(r.doc());
    EXPECT_TRUE(shared.find(r.person("B"), r.person("Q")).empty());
    EXPECT_TRUE(shared.find(r.person("Q"), r.person("A")).empty());
    EXPECT_EQ(lines(shared), "3/1 A Y Z1 X B; ");
    EXPECT_EQ(lines(shared), "3/1 A Y Z1 X B; ");
}

} // namespace
} // namespace stirpex
