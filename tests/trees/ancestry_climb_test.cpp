#include "trees/ancestry_climb.h"

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

constexpr std::int32_t kNone = AncestryClimb::kNone;

// X's parents are half-siblings (children of G1 by two wives); L is recorded
// as his own grandfather.
const test::LoadedDoc& Lineage() {
    static const test::LoadedDoc loaded = test::LoadText("0 @X@ INDI\n1 FAMC @FX@\n"
                                                         "0 @F@ INDI\n1 FAMC @FF@\n"
                                                         "0 @M@ INDI\n1 FAMC @FM@\n"
                                                         "0 @G1@ INDI\n"
                                                         "0 @G2@ INDI\n"
                                                         "0 @G3@ INDI\n1 FAMC @FG3@\n"
                                                         "0 @L@ INDI\n1 FAMC @FL@\n"
                                                         "0 @K@ INDI\n1 FAMC @FK@\n"
                                                         "0 @FX@ FAM\n1 HUSB @F@\n1 WIFE @M@\n"
                                                         "0 @FF@ FAM\n1 HUSB @G1@\n1 WIFE @G2@\n"
                                                         "0 @FM@ FAM\n1 HUSB @G1@\n1 WIFE @G3@\n"
                                                         "0 @FG3@ FAM\n1 WIFE @G2@\n"
                                                         "0 @FL@ FAM\n1 HUSB @K@\n"
                                                         "0 @FK@ FAM\n1 HUSB @L@\n");
    return loaded;
}

std::int32_t Index(std::string_view key) {
    return Lineage().doc->FindPerson(key)->m_nIndex;
}

// Each generation as "person<-child ..." in the order met.
std::string Levels(AncestryClimb& climb, int top) {
    climb.climbTo(top);
    const CStirpexDoc& doc = *Lineage().doc;
    std::string text;
    for (int level = 0; level <= climb.levelsClimbed(); ++level) {
        text += level == 0 ? "" : " | ";
        for (std::int32_t position = climb.levelBegin(level); position < climb.levelEnd(level); ++position) {
            const AncestryClimb::Step& step = climb.at(position);
            EXPECT_EQ(step.depth, level);
            EXPECT_EQ(climb.positionOf(step.person), position);
            text += position == climb.levelBegin(level) ? "" : " ";
            text += doc.m_ppPersons[static_cast<std::size_t>(step.person)]->m_strID.view();
            if (step.via != kNone) {
                text += "<";
                text += doc.m_ppPersons[static_cast<std::size_t>(climb.at(step.via).person)]->m_strID.view();
            }
        }
    }
    return text;
}

TEST(AncestryClimb, MeetsEachAncestorOnceAtItsFewestGenerationsFatherFirst) {
    AncestryClimb climb(Lineage().doc->GetParentTable(), Index("X"));
    // G2 is F's mother and M's grandmother: met once, from F.
    EXPECT_EQ(Levels(climb, 4), "X | F<X M<X | G1<F G2<F G3<M |  | ");
}

TEST(AncestryClimb, ClimbsOnlyAsFarAsAskedAndExtendsLater) {
    AncestryClimb climb(Lineage().doc->GetParentTable(), Index("X"));
    climb.climbTo(1);
    EXPECT_EQ(climb.levelsClimbed(), 1);
    EXPECT_EQ(climb.positionOf(Index("G1")), kNone);
    climb.climbTo(0);
    EXPECT_EQ(climb.levelsClimbed(), 1);
    EXPECT_EQ(Levels(climb, 2), "X | F<X M<X | G1<F G2<F G3<M");
}

TEST(AncestryClimb, ALoopInTheDataMeetsNobodyTwice) {
    AncestryClimb climb(Lineage().doc->GetParentTable(), Index("L"));
    EXPECT_EQ(Levels(climb, 3), "L | K<L |  | ");
}

} // namespace
} // namespace stirpex
