#include "page/page_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace stirpex {
namespace {

PageLayout rowsAt(std::initializer_list<int> ys) {
    PageLayout layout;
    for (const int y : ys) {
        layout.add(LaidText{0, y, 10, PageFace::Text, PageColumn::Value, -1, "t"});
    }
    layout.finish();
    return layout;
}

using Range = std::pair<std::size_t, std::size_t>;

// The first rows of a page are drawn out of order (the names, then the labels
// beside them); the search must still find every item of the rows asked for.
TEST(PageLayoutRows, RangeHoldsEveryItemMeetingTheRows) {
    const PageLayout layout = rowsAt({0, 20, 0, 20, 40, 60, 80, 100});
    EXPECT_EQ(layout.rowRange(0, 20), (Range{0, 3}));
    EXPECT_EQ(layout.rowRange(20, 40), (Range{1, 4}));
    EXPECT_EQ(layout.rowRange(40, 60), (Range{4, 5}));
    EXPECT_EQ(layout.rowRange(45, 85), (Range{4, 7}));
    EXPECT_EQ(layout.rowRange(120, 200), (Range{8, 8}));
    EXPECT_EQ(layout.rowRange(-50, -10), (Range{0, 0}));
    EXPECT_EQ(layout.rowRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max()), (Range{0, 8}));
    EXPECT_EQ(rowsAt({}).rowRange(0, 100), (Range{0, 0}));
}

TEST(PageLayoutColumns, EdgesAndWidthsCountOnlyTheirOwnTexts) {
    PageLayout layout;
    layout.add(LaidText{100, 0, 300, PageFace::Text, PageColumn::Value, -1, "value"});
    layout.add(LaidText{0, 0, 40, PageFace::SmallLink, PageColumn::Notes, 0, "Notes"});
    layout.add(LaidText{0, 20, 56, PageFace::SmallLink, PageColumn::Sources, 1, "Sources"});
    EXPECT_EQ(layout.valueRight(), 400);
    EXPECT_EQ(layout.columnWidth(PageColumn::Notes), 40);
    layout.moveColumn(PageColumn::Sources, 460);
    EXPECT_EQ(layout.items()[2].x, 460);
    EXPECT_EQ(layout.items()[1].x, 0);
    EXPECT_EQ(layout.right(), 516);
}

TEST(PageLayoutColumns, RightEdgeStopsAtTheLargestInt) {
    EXPECT_EQ(RightEdge(10, 20), 30);
    EXPECT_EQ(RightEdge(10, -5), 10);
    EXPECT_EQ(RightEdge(std::numeric_limits<int>::max() - 1, 5), std::numeric_limits<int>::max());
}

} // namespace
} // namespace stirpex
