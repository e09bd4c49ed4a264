#pragma once

// How two people are related, in words a genealogist writes, with the path
// that makes it so. Blood relationships come through the nearest common
// ancestors (trees/relationship_search.h); only when there is none does a
// marriage count: one's spouse, a blood relative of one's spouse (in-laws,
// step-children), or the spouse of one's blood relative (in-laws,
// step-parents, "aunt by marriage"). Words follow trees/relationship_words.h.

#include <string>
#include <vector>

namespace stirpex {

class CPerson;
class CStirpexDoc;

struct Relationship {
    std::string words;                // what B is to A: "grandmother", "third cousin twice removed", "spouse"
    std::string sentence;             // "B is the <words> of A" with both display names
    std::vector<const CPerson*> path; // A, ..., common ancestor(s), ..., B (by marriage: A, spouse, ..., B)
    std::vector<const CPerson*> commonAncestors; // the nearest common ancestor or couple; empty by marriage alone
    bool byMarriage = false;
};

// Every distinct relationship of B to A, nearest first: a double first cousin
// gives two, half-siblings one with "half-". By marriage only when no blood
// relationship exists; empty when none is found. A == B gives one, "self".
std::vector<Relationship> FindRelationships(const CStirpexDoc& doc, const CPerson& a, const CPerson& b);
// The words of the nearest relationship, for the page's home-person line; empty when none.
std::string RelationshipWords(const CStirpexDoc& doc, const CPerson& a, const CPerson& b);
// "No relationship was found between A and B."
std::string NoRelationshipSentence(const CPerson& a, const CPerson& b);

} // namespace stirpex
