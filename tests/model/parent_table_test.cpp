#include "model/parent_table.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <array>

namespace stirpex {
namespace {

using Parents = std::array<std::int32_t, 2>;
constexpr std::int32_t kNone = ParentTable::kNone;

// Keys that name nothing give no parent, as GetFather and GetMother give none;
// a later record with a key already used wins, as it does for the look-ups.
TEST(ParentTable, ResolvesParentsAsTheKeyLookUpsDo) {
    const test::LoadedDoc loaded = test::LoadText("0 @C@ INDI\n1 FAMC @F1@\n"
                                                  "0 @D@ INDI\n1 FAMC @F2@\n"
                                                  "0 @E@ INDI\n1 FAMC @NOFAM@\n"
                                                  "0 @H@ INDI\n"
                                                  "0 @W@ INDI\n"
                                                  "0 @F1@ FAM\n1 HUSB @H@\n1 WIFE @W@\n"
                                                  "0 @F2@ FAM\n1 HUSB @NOBODY@\n1 WIFE @W@\n"
                                                  "0 @F1@ FAM\n1 HUSB @W@\n1 WIFE @H@\n");
    const CStirpexDoc& doc = *loaded.doc;
    const ParentTable& table = doc.GetParentTable();
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table.parentsOf(0), (Parents{4, 3}));
    EXPECT_EQ(table.parentsOf(1), (Parents{kNone, 4}));
    EXPECT_EQ(table.parentsOf(2), (Parents{kNone, kNone}));
    EXPECT_EQ(table.parentsOf(3), (Parents{kNone, kNone}));
    for (const auto& person : doc.m_ppPersons) {
        const CPerson* father = doc.GetFather(person.get());
        const CPerson* mother = doc.GetMother(person.get());
        EXPECT_EQ(table.parentsOf(person->m_nIndex),
                  (Parents{father ? father->m_nIndex : kNone, mother ? mother->m_nIndex : kNone}));
    }
    EXPECT_EQ(&doc.GetParentTable(), &table);
}

} // namespace
} // namespace stirpex
