#include "find/go_to.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

namespace stirpex {
namespace {

TEST(GoTo, FindsTheIndividualByItsKeyAsTypedOrInOtherCase) {
    const auto loaded = test::LoadText("0 @I7@ INDI\n1 NAME Ada /Lovel/\n0 @F1@ FAM\n0 @N1@ NOTE x\n");
    CStirpexDoc& doc = *loaded.doc;
    EXPECT_EQ(AcceptGoTo(doc, "I7"), doc.m_ppPersons[0].get());
    EXPECT_EQ(doc.m_strGoToID, "I7");
    EXPECT_EQ(AcceptGoTo(doc, "i7"), doc.m_ppPersons[0].get());
    EXPECT_EQ(doc.m_strGoToID, "i7");
    for (const std::string_view typed : {"@I7@", "I7 ", " I7", "I", "I77", "F1", "f1", "N1", ""}) {
        EXPECT_EQ(AcceptGoTo(doc, typed), nullptr) << typed;
        EXPECT_EQ(doc.m_strGoToID, typed);
    }
}

// Keys that differ only by case are different keys: the exact one wins, and
// failing that the first in the file, whatever the order of the key table.
TEST(GoTo, ExactKeyBeforeOtherCaseAndFirstInFileAmongOtherCases) {
    const auto loaded = test::LoadText("0 @ab@ INDI\n1 NAME One //\n0 @AB@ INDI\n1 NAME Two //\n"
                                       "0 @Ab@ INDI\n1 NAME Three //\n0 @x1@ INDI\n1 NAME Four //\n");
    const CStirpexDoc& doc = *loaded.doc;
    EXPECT_EQ(FindGoToPerson(doc, "AB"), doc.m_ppPersons[1].get());
    EXPECT_EQ(FindGoToPerson(doc, "Ab"), doc.m_ppPersons[2].get());
    EXPECT_EQ(FindGoToPerson(doc, "aB"), doc.m_ppPersons[0].get());
    EXPECT_EQ(FindGoToPerson(doc, "X1"), doc.m_ppPersons[3].get());
    EXPECT_EQ(FindGoToPerson(doc, "X2"), nullptr);
}

} // namespace
} // namespace stirpex
