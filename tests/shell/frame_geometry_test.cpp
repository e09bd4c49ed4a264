#include "shell/frame_geometry.h"

#include <gtest/gtest.h>

namespace stirpex {
namespace {

TEST(FrameGeometry, OnlyASecondWindowOnADocumentIsNumbered) {
    EXPECT_EQ(NumberedTitle("harrow_family.ged", 0), "harrow_family.ged");
    EXPECT_EQ(NumberedTitle("harrow_family.ged", 1), "harrow_family.ged:1");
    EXPECT_EQ(NumberedTitle("harrow_family.ged", 12), "harrow_family.ged:12");
}

TEST(FrameGeometry, CascadedWindowsShrinkOnlyByTheirSteps) {
    const std::vector<CascadeRect> rects = CascadeRects(3, 900, 580, 30);
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[0], (CascadeRect{0, 0, 840, 520}));
    EXPECT_EQ(rects[2], (CascadeRect{60, 60, 840, 520}));
}

// Twelve windows in a 900 x 580 area once came out 260 x 200.
TEST(FrameGeometry, ManyCascadedWindowsKeepTwoThirdsOfTheAreaAndStayInside) {
    const std::vector<CascadeRect> rects = CascadeRects(12, 900, 580, 30);
    ASSERT_EQ(rects.size(), 12u);
    for (const CascadeRect& r : rects) {
        EXPECT_EQ(r.width, 600);
        EXPECT_EQ(r.height, 386);
        EXPECT_LE(r.x + r.width, 900);
        EXPECT_LE(r.y + r.height, 580);
    }
    // 194 pixels of room below a window hold six steps and the start: the seventh starts again.
    EXPECT_EQ(rects[6].x, 180);
    EXPECT_EQ(rects[7].x, 0);
    EXPECT_TRUE(CascadeRects(0, 900, 580, 30).empty());
    EXPECT_EQ(CascadeRects(1, 900, 580, 30).front(), (CascadeRect{0, 0, 900, 580}));
}

TEST(FrameGeometry, TheStatisticsPaneGivesWayToThePrompt) {
    EXPECT_EQ(StatsPaneWidth(640, 300, 200), 200); // room for both
    EXPECT_EQ(StatsPaneWidth(640, 500, 200), 140); // the prompt first
    EXPECT_EQ(StatsPaneWidth(640, 700, 200), 0);
}

} // namespace
} // namespace stirpex
