#include "trees/relationship_words.h"

#include <gtest/gtest.h>

namespace stirpex {
namespace {

struct WordsCase {
    int up;
    int down;
    bool half;
    Sex sex;
    const char* words;
};

// The style: two "great-" written out, an ordinal from three; cousins by degree in words, "removed" by count.
TEST(RelationshipWords, BloodWordsByGenerationsAndSex) {
    const WordsCase cases[] = {
        {0, 0, false, Sex::Male, "self"},
        {1, 0, false, Sex::Female, "mother"},
        {2, 0, false, Sex::Unknown, "grandparent"},
        {4, 0, false, Sex::Male, "great-great-grandfather"},
        {5, 0, false, Sex::Female, "3rd great-grandmother"},
        {13, 0, false, Sex::Male, "11th great-grandfather"},
        {24, 0, false, Sex::Male, "22nd great-grandfather"},
        {0, 1, false, Sex::Unknown, "child"},
        {0, 3, false, Sex::Female, "great-granddaughter"},
        {1, 1, true, Sex::Male, "half-brother"},
        {1, 1, false, Sex::Unknown, "sibling"},
        {2, 1, false, Sex::Unknown, "aunt or uncle"},
        {3, 1, false, Sex::Female, "great-aunt"},
        {4, 1, true, Sex::Male, "half-great-great-uncle"},
        {1, 2, false, Sex::Female, "niece"},
        {1, 5, false, Sex::Unknown, "3rd great-niece or 3rd great-nephew"},
        {2, 2, false, Sex::Male, "first cousin"},
        {3, 2, true, Sex::Female, "half first cousin once removed"},
        {4, 6, false, Sex::Male, "third cousin twice removed"},
        {12, 15, false, Sex::Male, "11th cousin three times removed"},
        {2, 14, false, Sex::Male, "first cousin 12 times removed"},
    };
    for (const WordsCase& c : cases) {
        EXPECT_EQ(BloodWords({c.up, c.down, c.half}, c.sex), c.words) << c.up << " up, " << c.down << " down";
    }
}

// Across a marriage the same place reads differently by which side the marriage is on.
TEST(RelationshipWords, InLawWordsBySideOfTheMarriage) {
    constexpr auto ofSpouse = MarriageSide::RelativeOfSpouse;
    constexpr auto ofRelative = MarriageSide::SpouseOfRelative;
    const struct {
        Kinship kinship;
        Sex sex;
        MarriageSide side;
        const char* words;
    } cases[] = {
        {{1, 0, false}, Sex::Male, ofSpouse, "father-in-law"},
        {{2, 0, false}, Sex::Female, ofSpouse, "grandmother-in-law"},
        {{0, 1, false}, Sex::Male, ofSpouse, "step-son"},
        {{0, 2, false}, Sex::Unknown, ofSpouse, "step-grandchild"},
        {{1, 1, false}, Sex::Female, ofSpouse, "sister-in-law"},
        {{2, 1, false}, Sex::Male, ofSpouse, "uncle by marriage"},
        {{1, 0, false}, Sex::Female, ofRelative, "step-mother"},
        {{0, 1, false}, Sex::Female, ofRelative, "daughter-in-law"},
        {{1, 1, true}, Sex::Male, ofRelative, "half-brother-in-law"},
        {{1, 1, false}, Sex::Unknown, ofRelative, "sibling-in-law"},
        {{2, 2, false}, Sex::Female, ofRelative, "first cousin by marriage"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InLawWords(c.kinship, c.sex, c.side), c.words) << c.words;
    }
    EXPECT_EQ(SpouseWords(Sex::Male), "husband");
    EXPECT_EQ(SpouseWords(Sex::Unknown), "spouse");
}

} // namespace
} // namespace stirpex
