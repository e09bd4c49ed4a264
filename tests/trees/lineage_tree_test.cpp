#include "trees/lineage_tree.h"

#include "tree_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace stirpex {
namespace {

// Inserts in walk order, so that siblings are never inserted one after the other.
TEST(LineageTree, ChildrenAreReadByRowInInsertionOrderUnderEachParent) {
    LineageTree tree;
    const TreeItem a = tree.insert(kTreeRoot, "a");
    const TreeItem a1 = tree.insert(a, "a1");
    const TreeItem a1x = tree.insert(a1, "a1x");
    const TreeItem a2 = tree.insert(a, "a2");
    const TreeItem b = tree.insert(kTreeRoot, "b");
    const TreeItem a3 = tree.insert(a, "a3");
    const TreeItem b1 = tree.insert(b, "b1");

    EXPECT_EQ(tree.size(), 7);
    EXPECT_EQ(tree.topLevelCount(), 2);
    EXPECT_EQ(tree.childCount(kTreeRoot), 2);
    EXPECT_EQ(tree.childAt(kTreeRoot, 0), a);
    EXPECT_EQ(tree.childAt(kTreeRoot, 1), b);
    EXPECT_EQ(tree.childCount(a), 3);
    EXPECT_EQ(tree.childAt(a, 0), a1);
    EXPECT_EQ(tree.childAt(a, 1), a2);
    EXPECT_EQ(tree.childAt(a, 2), a3);
    EXPECT_EQ(tree.childAt(a1, 0), a1x);
    EXPECT_EQ(tree.childAt(b, 0), b1);
    EXPECT_EQ(tree.childCount(a1x), 0);
    EXPECT_EQ(tree.parentOf(a), kTreeRoot);
    EXPECT_EQ(tree.parentOf(a3), a);
    EXPECT_EQ(tree.parentOf(a1x), a1);
    EXPECT_EQ(tree.rowOf(b), 1);
    EXPECT_EQ(tree.rowOf(a3), 2);
    EXPECT_EQ(tree.rowOf(b1), 0);

    // A node added after the children were read is found too.
    const TreeItem a1y = tree.insert(a1, "a1y");
    EXPECT_EQ(tree.childAt(a1, 1), a1y);
    EXPECT_EQ(tree.childAt(a, 2), a3);
    EXPECT_EQ(test::Outline(tree), "0 a #-1\n  0 a1 #-1\n    0 a1x #-1\n    0 a1y #-1\n  0 a2 #-1\n  0 a3 #-1\n"
                                   "0 b #-1\n  0 b1 #-1\n");
}

TEST(LineageTree, NodeStartsWithImageZeroNoPersonAndClosed) {
    LineageTree tree;
    const TreeItem item = tree.insert(kTreeRoot, "x");
    EXPECT_EQ(tree.image(item), IMAGE_PARTNER);
    EXPECT_EQ(tree.person(item), -1);
    EXPECT_FALSE(tree.expanded(item));
    EXPECT_TRUE(tree.setImage(item, IMAGE_FEMALE));
    tree.setPerson(item, 41);
    tree.expand(item);
    EXPECT_EQ(tree.image(item), IMAGE_FEMALE);
    EXPECT_EQ(tree.person(item), 41);
    EXPECT_TRUE(tree.expanded(item));
    // There are three images only.
    EXPECT_FALSE(tree.setImage(item, 3));
    EXPECT_FALSE(tree.setImage(item, -1));
    EXPECT_EQ(tree.image(item), IMAGE_FEMALE);
}

TEST(LineageTree, SelectionAndCutAreClearedWithTheNodes) {
    LineageTree tree;
    EXPECT_EQ(tree.selected(), kNoTreeItem);
    EXPECT_EQ(tree.selectedPerson(), -1);
    const TreeItem item = tree.insert(kTreeRoot, "x");
    tree.insert(item, "y");
    tree.setPerson(item, 7);
    tree.select(item);
    tree.ensureVisible(item);
    tree.markCut();
    EXPECT_EQ(tree.selectedPerson(), 7);
    EXPECT_EQ(tree.visibleItem(), item);
    EXPECT_EQ(tree.cutMessage(), "The tree is too large: only the first 2 entries are shown.");

    tree.deleteAll();
    EXPECT_EQ(tree.size(), 0);
    EXPECT_EQ(tree.topLevelCount(), 0);
    EXPECT_EQ(tree.selected(), kNoTreeItem);
    EXPECT_EQ(tree.visibleItem(), kNoTreeItem);
    EXPECT_FALSE(tree.cut());
    EXPECT_EQ(tree.cutMessage(), "");
    EXPECT_EQ(tree.insert(kTreeRoot, "z"), 0);
    EXPECT_EQ(tree.childAt(kTreeRoot, 0), 0);
}

TEST(LineageTree, ItemsOutsideTheTreeThrow) {
    LineageTree tree;
    const TreeItem item = tree.insert(kTreeRoot, "x");
    EXPECT_THROW(tree.insert(5, "y"), std::out_of_range);
    EXPECT_THROW(tree.text(1), std::out_of_range);
    EXPECT_THROW(tree.parentOf(kTreeRoot), std::out_of_range);
    EXPECT_THROW(tree.childAt(item, 0), std::out_of_range);
    EXPECT_THROW(tree.childAt(kTreeRoot, 1), std::out_of_range);
    EXPECT_THROW(tree.select(kNoTreeItem), std::out_of_range);
    EXPECT_EQ(tree.size(), 1);
}

} // namespace
} // namespace stirpex
