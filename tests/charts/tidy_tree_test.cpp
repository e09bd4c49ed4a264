#include "charts/tidy_tree.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace stirpex::detail {
namespace {

TidyNode node(std::int32_t begin, std::int32_t end, double breadth) {
    return {begin, end, breadth, breadth / 2, breadth / 2};
}

// One more partner of the node before: its family's line drops just before it.
TidyNode joined(std::int32_t begin, std::int32_t end, double breadth, double joinGap) {
    return {begin, end, breadth, breadth / 2, -joinGap / 2, true};
}

TEST(TidyTree, ParentCentredOverTwoChildrenAtTheGap) {
    const std::vector<TidyNode> nodes{node(1, 3, 10), node(3, 3, 10), node(3, 3, 10)};
    EXPECT_EQ(TidyPositions(nodes, 2, 2), (std::vector<double>{0, -6, 6}));
}

TEST(TidyTree, EachFamilyIsCentredUnderItsOwnCoupleAndTheirNodesMoveApart) {
    // The first node: a person (10) and the first partner (20), the family's
    // line at 11; three children. A second partner (10) joined, one child.
    TidyNode couple = node(2, 5, 30);
    couple.up = 5;
    couple.down = 11;
    const std::vector<TidyNode> nodes{couple,         joined(5, 6, 10, 2), node(6, 6, 10),
                                      node(6, 6, 10), node(6, 6, 10),      node(6, 6, 10)};
    // The first family under 11; the second partner pushed from 32 to 36, so
    // that its child keeps the gap from the first family's and stands under 35.
    EXPECT_EQ(TidyPositions(nodes, 2, 2), (std::vector<double>{0, 36, -6, 6, 18, 30}));
}

TEST(TidyTree, AParentIsCentredOverItsChildrenNotTheirFurtherPartners) {
    TidyNode couple = node(3, 3, 30);
    couple.up = 5;
    const std::vector<TidyNode> nodes{node(1, 3, 10), couple, joined(3, 3, 10, 4)};
    EXPECT_EQ(TidyPositions(nodes, 2, 4), (std::vector<double>{0, 0, 34}));
}

TEST(TidyTree, SubtreesAreSeparatedWhereTheyComeClosestNotAtTheTop) {
    // The root's children A (1) and B (2); A's children 3 and 4, 3 with two
    // children (6, 7); B's one child 5 with one wide child (8). Only at the
    // fourth generation does B's side come near A's, and there it must keep the gap.
    const std::vector<TidyNode> nodes{node(1, 3, 10), node(3, 5, 10), node(5, 6, 10), node(6, 8, 10), node(8, 8, 10),
                                      node(8, 9, 10), node(9, 9, 10), node(9, 9, 10), node(9, 9, 60)};
    const std::vector<double> lead = TidyPositions(nodes, 2, 2);
    EXPECT_NEAR(lead[8], lead[7] + 10 + 2, 1e-9);
    EXPECT_GT(lead[2], lead[1] + 10 + 2);
}

// Random trees, some with joined nodes: on every generation the nodes keep
// their breadth-first order left to right and the gap (the join gap before a
// joined node), and every node's `down` point is halfway between its first
// and last child's `up` point, joined children left out.
TEST(TidyTree, RandomTreesKeepTheGapAndCentreEveryParent) {
    std::mt19937 random(16);
    for (int round = 0; round < 200; ++round) {
        std::vector<TidyNode> nodes(1);
        std::vector<int> level{0};
        std::uniform_int_distribution<int> children(0, round % 2 ? 4 : 2);
        std::uniform_real_distribution<double> breadth(1, 40);
        for (std::size_t i = 0; i < nodes.size() && nodes.size() < 300; ++i) {
            nodes[i].childBegin = static_cast<std::int32_t>(nodes.size());
            const int count = level[i] < 12 ? children(random) : 0;
            for (int c = 0; c < count; ++c) {
                nodes.emplace_back();
                nodes.back().joined = c > 0 && round % 4 >= 2 && random() % 3 == 0;
                level.push_back(level[i] + 1);
            }
            nodes[i].childEnd = static_cast<std::int32_t>(nodes.size());
        }
        for (TidyNode& n : nodes) {
            n.breadth = breadth(random);
            std::uniform_real_distribution<double> inside(0, n.breadth);
            n.up = inside(random);
            n.down = inside(random);
        }
        const double gap = round % 3;
        const double joinGap = round % 5;
        const std::vector<double> lead = TidyPositions(nodes, gap, joinGap);
        ASSERT_EQ(lead[0], 0);
        for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
            if (level[i] == level[i + 1]) {
                EXPECT_GE(lead[i + 1], lead[i] + nodes[i].breadth + (nodes[i + 1].joined ? joinGap : gap) - 1e-6)
                    << "round " << round << " node " << i;
            }
        }
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].childBegin < nodes[i].childEnd) {
                const auto first = static_cast<std::size_t>(nodes[i].childBegin);
                auto last = static_cast<std::size_t>(nodes[i].childEnd) - 1;
                while (nodes[last].joined) {
                    --last;
                }
                EXPECT_NEAR(lead[i] + nodes[i].down, (lead[first] + nodes[first].up + lead[last] + nodes[last].up) / 2,
                            1e-6);
            }
        }
    }
}

TEST(TidyTree, ALineOfAHundredThousandGenerationsNeedsNoRecursion) {
    std::vector<TidyNode> nodes(100000);
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
        nodes[i] = node(static_cast<std::int32_t>(i + 1), static_cast<std::int32_t>(i + 2), 10);
    }
    nodes.back() = node(100000, 100000, 10);
    const std::vector<double> lead = TidyPositions(nodes, 2, 2);
    EXPECT_EQ(lead.back(), 0);
}

} // namespace
} // namespace stirpex::detail
