#pragma once

// The document the chart benchmarks share, built in memory: a first man whose
// line spreads generation by generation, each descendant married to a spouse
// without parents and father or mother of 0 to 5 children in a fixed pattern
// (2.3 on average), until the first man has `people` descendants.

#include "model/family.h"
#include "model/person.h"
#include "model/stirpex_doc.h"

#include <deque>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

namespace stirpex::bench {

inline constexpr int kChildPattern[] = {2, 3, 1, 4, 2, 0, 3, 5, 2, 1};

inline CPerson& addDescentPerson(CStirpexDoc& doc, const std::string& key, char sex, std::string_view given, int year) {
    TextArena& arena = doc.Arena();
    CPerson& person = doc.AddPerson(arena.copy(key));
    person.m_cSex = sex;
    person.m_strSurname = arena.copy(sex == 'M' ? "Harrowgate" : "Pennick");
    person.m_strGivenNames = arena.copy(given);
    person.m_nBirthYear = year;
    person.m_nDeathYear = year + 60;
    return person;
}

// The first man and his descendants, generation after generation, until there are `people` of them.
inline std::unique_ptr<CStirpexDoc> BuildDescent(int people) {
    auto doc = std::make_unique<CStirpexDoc>();
    TextArena& arena = doc->Arena();
    doc->BeginBulkLoad();
    std::deque<CPerson*> open{&addDescentPerson(*doc, "D0", 'M', "Ezekiel", 1000)};
    int made = 0;
    int pattern = 0;
    while (!open.empty() && made < people) {
        CPerson& parent = *open.front();
        open.pop_front();
        const std::string number = std::to_string(parent.m_nIndex);
        const ArenaStr familyKey = arena.copy("F" + number);
        parent.AddSpouseFamily(arena, familyKey);
        CPerson& spouse =
            addDescentPerson(*doc, "S" + number, parent.m_cSex == 'M' ? 'F' : 'M', "Mercy", parent.m_nBirthYear);
        spouse.AddSpouseFamily(arena, familyKey);
        CFamily& family = doc->AddFamily(familyKey);
        family.m_strHusband = parent.m_cSex == 'M' ? parent.m_strID : spouse.m_strID;
        family.m_strWife = parent.m_cSex == 'M' ? spouse.m_strID : parent.m_strID;
        const int children = kChildPattern[pattern++ % std::size(kChildPattern)] + (open.empty() ? 1 : 0);
        for (int c = 0; c < children && made < people; ++c, ++made) {
            CPerson& child = addDescentPerson(*doc, "D" + std::to_string(made + 1), c % 2 == 0 ? 'M' : 'F',
                                              c % 2 == 0 ? "Josiah" : "Ann", parent.m_nBirthYear + 25);
            child.m_strParentFamily = familyKey;
            family.AddChild(arena, child.m_strID);
            open.push_back(&child);
        }
    }
    doc->EndBulkLoad();
    return doc;
}

} // namespace stirpex::bench
