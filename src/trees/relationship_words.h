#pragma once

// The English words for what one person is to another, given where the second
// stands from the first: `up` generations from the first person to the common
// ancestors, then `down` generations from them to the second person. The words
// are the second person's, in their sex where it is known ('M' or 'F'), in a
// neutral form otherwise.
//
// One style throughout: one and two "great-" are written out, from three on
// the count is an ordinal ("great-great-grandmother", "3rd great-grandmother");
// siblings of ancestors are "great-aunt"/"great-uncle" (never "grand-aunt");
// cousins count their degree in words ("second cousin once removed").

#include <string>

namespace stirpex {

class CPerson;

enum class Sex { Male, Female, Unknown };

Sex SexOf(const CPerson& person) noexcept;

struct Kinship {
    int up = 0;
    int down = 0;
    bool half = false; // through one common parent only, where the other parents differ
};

// How the marriage stands between the two people.
enum class MarriageSide {
    RelativeOfSpouse, // the second person is a blood relative of the first one's spouse
    SpouseOfRelative, // the second person is the spouse of the first one's blood relative
};

// "grandmother", "half-brother", "third cousin twice removed"; "self" for 0, 0.
std::string BloodWords(Kinship kinship, Sex sex);
// "father-in-law", "step-son", "brother-in-law", "aunt by marriage"; `kinship`
// is the blood relationship across the marriage (spouse to second person, or
// first person to the relative), `sex` the second person's.
std::string InLawWords(Kinship kinship, Sex sex, MarriageSide side);
std::string SpouseWords(Sex sex);

} // namespace stirpex
