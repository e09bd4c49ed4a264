#include "model/parent_table.h"

#include "model/stirpex_doc.h"

#include <string_view>

namespace stirpex {

namespace {

std::int32_t indexOf(const CPerson* person) noexcept {
    return person ? person->m_nIndex : ParentTable::kNone;
}

} // namespace

// Families are resolved once each, not once per child: a million people have
// about a quarter as many families. Brothers and sisters often follow one
// another in a file, and many people name no family: neither needs a look-up.
ParentTable::ParentTable(const CStirpexDoc& doc) {
    std::vector<std::array<std::int32_t, 2>> couples;
    couples.reserve(doc.m_ppFamilies.size());
    for (const auto& family : doc.m_ppFamilies) {
        couples.push_back(
            {indexOf(doc.FindPerson(family->m_strHusband.view())), indexOf(doc.FindPerson(family->m_strWife.view()))});
    }
    m_parents.reserve(doc.m_ppPersons.size());
    std::string_view lastKey;
    std::array<std::int32_t, 2> lastParents{kNone, kNone};
    for (const auto& person : doc.m_ppPersons) {
        const std::string_view key = person->m_strParentFamily.view();
        if (key.empty()) {
            m_parents.push_back({kNone, kNone});
            continue;
        }
        if (key != lastKey) {
            const CFamily* family = doc.FindFamily(key);
            lastKey = key;
            lastParents = family ? couples[static_cast<std::size_t>(family->m_nIndex)]
                                 : std::array<std::int32_t, 2>{kNone, kNone};
        }
        m_parents.push_back(lastParents);
    }
}

const ParentTable& CStirpexDoc::GetParentTable() const {
    std::call_once(m_parentTableOnce, [this] { m_parentTable = std::make_unique<const ParentTable>(*this); });
    return *m_parentTable;
}

} // namespace stirpex
