#pragma once

// The blood lines between two people: every nearest common ancestor (or
// couple) of the two, with the path through it.
//
// The search climbs parents from both people at once, one generation at a time
// on whichever side is cheaper, and stops once no common ancestor it has not
// met can be nearer than the nearest it has met plus kExtraGenerations; so a
// first cousin who is also a second cousin through another line shows both,
// and two people whose lines meet a few generations up never walk their whole
// ancestries. A common ancestor is nearest when neither path down from it
// passes through another, nearer common ancestor. Each person is visited at most once
// per side, so loops in the data (someone their own ancestor) end the climb.

#include <memory>
#include <vector>

namespace stirpex {

class CPerson;
class CStirpexDoc;

inline constexpr int kExtraGenerations = 2;

struct BloodLine {
    int up = 0;                            // generations from the first person to the common ancestors
    int down = 0;                          // from them down to the second person
    bool half = false;                     // one common parent, the two lines coming from different families
    std::vector<const CPerson*> path;      // first, ..., the common ancestors, ..., second
    std::vector<const CPerson*> ancestors; // the common ancestor, or the couple (husband first)
};

// Searches over one document that share their climbs: a question that asks
// several (one per spouse, for relationships by marriage) climbs each
// person's ancestry once.
class BloodLineSearch {
public:
    explicit BloodLineSearch(const CStirpexDoc& doc);
    ~BloodLineSearch();
    BloodLineSearch(const BloodLineSearch&) = delete;
    BloodLineSearch& operator=(const BloodLineSearch&) = delete;

    // As FindBloodLines.
    std::vector<BloodLine> find(const CPerson& first, const CPerson& second);

private:
    struct Climbs;
    const CStirpexDoc& m_doc;
    std::unique_ptr<Climbs> m_climbs;
};

// Nearest first (fewest generations in all, then fewest up). Empty when the
// two have no common ancestor or either is not a person of `doc`; one line
// with up = down = 0 when they are the same person.
std::vector<BloodLine> FindBloodLines(const CStirpexDoc& doc, const CPerson& first, const CPerson& second);

} // namespace stirpex
