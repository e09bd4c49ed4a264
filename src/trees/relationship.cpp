#include "trees/relationship.h"

#include "model/stirpex_doc.h"
#include "trees/relationship_search.h"
#include "trees/relationship_words.h"

#include <algorithm>

namespace stirpex {

namespace {

std::string sentenceFor(const CPerson& a, const CPerson& b, const std::string& words) {
    if (&a == &b) {
        return b.FormatName(0) + " and " + a.FormatName(0) + " are the same person";
    }
    return b.FormatName(0) + " is the " + words + " of " + a.FormatName(0);
}

// The partners of the person's families, each once, never the person.
std::vector<const CPerson*> spousesOf(const CStirpexDoc& doc, const CPerson& person) {
    std::vector<const CPerson*> spouses;
    for (int i = 0; i < person.m_nSpouseFamilies; ++i) {
        const CPerson* spouse = doc.GetSpouse(&person, doc.FindFamily(person.m_arrSpouseFamilies[i].view()));
        if (spouse && spouse != &person && std::find(spouses.begin(), spouses.end(), spouse) == spouses.end()) {
            spouses.push_back(spouse);
        }
    }
    return spouses;
}

struct Ranked {
    int generations = 0;
    Relationship relationship;
};

Relationship fromBlood(BloodLine&& line, Sex sex) {
    Relationship r;
    r.words = BloodWords(Kinship{line.up, line.down, line.half}, sex);
    r.path = std::move(line.path);
    r.commonAncestors = std::move(line.ancestors);
    return r;
}

// Across one marriage: a blood relative of A's spouse, or the spouse of A's blood relative.
std::vector<Relationship> byMarriage(const CStirpexDoc& doc, BloodLineSearch& search, const CPerson& a,
                                     const CPerson& b) {
    const Sex sex = SexOf(b);
    const std::vector<const CPerson*> spousesOfA = spousesOf(doc, a);
    if (std::find(spousesOfA.begin(), spousesOfA.end(), &b) != spousesOfA.end()) {
        Relationship r;
        r.words = SpouseWords(sex);
        r.path = {&a, &b};
        r.byMarriage = true;
        return {r};
    }
    std::vector<Ranked> ranked;
    for (const CPerson* spouse : spousesOfA) {
        for (BloodLine& line : search.find(*spouse, b)) {
            const Kinship kinship{line.up, line.down, line.half};
            Relationship r = fromBlood(std::move(line), sex);
            r.words = InLawWords(kinship, sex, MarriageSide::RelativeOfSpouse);
            r.path.insert(r.path.begin(), &a);
            ranked.push_back({kinship.up + kinship.down, std::move(r)});
        }
    }
    for (const CPerson* spouse : spousesOf(doc, b)) {
        for (BloodLine& line : search.find(a, *spouse)) {
            const Kinship kinship{line.up, line.down, line.half};
            Relationship r = fromBlood(std::move(line), sex);
            r.words = InLawWords(kinship, sex, MarriageSide::SpouseOfRelative);
            r.path.push_back(&b);
            ranked.push_back({kinship.up + kinship.down, std::move(r)});
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& x, const Ranked& y) { return x.generations < y.generations; });
    std::vector<Relationship> result;
    for (Ranked& entry : ranked) {
        entry.relationship.byMarriage = true;
        result.push_back(std::move(entry.relationship));
    }
    return result;
}

} // namespace

std::vector<Relationship> FindRelationships(const CStirpexDoc& doc, const CPerson& a, const CPerson& b) {
    std::vector<Relationship> result;
    BloodLineSearch search(doc);
    for (BloodLine& line : search.find(a, b)) {
        result.push_back(fromBlood(std::move(line), SexOf(b)));
    }
    if (result.empty() && &a != &b) {
        result = byMarriage(doc, search, a, b);
    }
    for (Relationship& r : result) {
        r.sentence = sentenceFor(a, b, r.words);
    }
    return result;
}

std::string RelationshipWords(const CStirpexDoc& doc, const CPerson& a, const CPerson& b) {
    std::vector<Relationship> found = FindRelationships(doc, a, b);
    return found.empty() ? std::string() : std::move(found.front().words);
}

std::string NoRelationshipSentence(const CPerson& a, const CPerson& b) {
    return "No relationship was found between " + a.FormatName(0) + " and " + b.FormatName(0) + ".";
}

} // namespace stirpex
