#include "find/go_to.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

namespace stirpex {
namespace {

TEST(GoTo, FindsTheIndividualOnlyByItsKeyExactlyAsTyped) {
    const auto loaded = test::LoadText("0 @I7@ INDI\n1 NAME Ada /Lovel/\n0 @F1@ FAM\n0 @N1@ NOTE x\n");
    CStirpexDoc& doc = *loaded.doc;
    EXPECT_EQ(AcceptGoTo(doc, "I7"), doc.m_ppPersons[0].get());
    EXPECT_EQ(doc.m_strGoToID, "I7");
    for (const std::string_view typed : {"@I7@", "i7", "I7 ", " I7", "F1", "N1", ""}) {
        EXPECT_EQ(AcceptGoTo(doc, typed), nullptr) << typed;
        EXPECT_EQ(doc.m_strGoToID, typed);
    }
}

} // namespace
} // namespace stirpex
