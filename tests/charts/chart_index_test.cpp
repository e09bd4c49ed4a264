#include "charts/chart_index.h"

#include "chart_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace stirpex {
namespace {

using test::PersonOf;

const FixedMeasure kMeasure;

bool touches(const ChartRect& a, const ChartRect& b) {
    return a.x <= b.right() && b.x <= a.right() && a.y <= b.bottom() && b.y <= a.bottom();
}

ChartRect boundsOf(const ChartSegment& s) {
    return {std::min(s.from.x, s.to.x), std::min(s.from.y, s.to.y), std::abs(s.to.x - s.from.x),
            std::abs(s.to.y - s.from.y)};
}

// Windows of every size over the whole chart and beyond it, against a look at every box and line.
TEST(ChartIndex, AreaQueriesFindExactlyWhatAScanFinds) {
    const auto loaded = test::LoadText(test::FullPedigree(9));
    for (const ChartKind kind : {ChartKind::Pedigree, ChartKind::Fan, ChartKind::Hourglass}) {
        ChartOptions options;
        options.generations = 9;
        const ChartLayout chart = LayoutChart(*loaded.doc, PersonOf(loaded, "P1"), kind, options, kMeasure);
        const ChartIndex index(chart);
        std::mt19937 random(4);
        std::uniform_real_distribution<double> x(-100, chart.width + 100);
        std::uniform_real_distribution<double> y(-100, chart.height + 100);
        std::uniform_real_distribution<double> size(0, 600);
        std::vector<std::int32_t> found;
        for (int round = 0; round < 300; ++round) {
            const ChartRect area{x(random), y(random), size(random), size(random)};
            index.boxesIn(area, found);
            std::sort(found.begin(), found.end());
            std::vector<std::int32_t> expected;
            for (std::size_t i = 0; i < chart.boxes.size(); ++i) {
                if (touches(chart.boxes[i].rect, area)) {
                    expected.push_back(static_cast<std::int32_t>(i));
                }
            }
            ASSERT_EQ(found, expected) << "round " << round;
            index.connectorsIn(area, found);
            std::sort(found.begin(), found.end());
            expected.clear();
            for (std::size_t i = 0; i < chart.connectors.size(); ++i) {
                if (touches(boundsOf(chart.connectors[i]), area)) {
                    expected.push_back(static_cast<std::int32_t>(i));
                }
            }
            ASSERT_EQ(found, expected) << "round " << round;
        }
    }
}

TEST(ChartIndex, PointsFindTheirBoxAndGapsFindNone) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    for (const ChartKind kind : {ChartKind::Pedigree, ChartKind::Fan}) {
        const ChartLayout chart = LayoutChart(*loaded.doc, PersonOf(loaded, "I1"), kind, {}, kMeasure);
        const ChartIndex index(chart);
        for (std::size_t i = 0; i < chart.boxes.size(); ++i) {
            EXPECT_EQ(index.boxAt(BoxCentre(chart, chart.boxes[i])), static_cast<std::int32_t>(i));
        }
        EXPECT_EQ(index.boxAt({0, 0}), -1);
        EXPECT_EQ(index.boxAt({chart.width + 5, chart.height / 2}), -1);
    }
    // Below the centre, where a fan of 240 degrees leaves a gap, the point is
    // within the mother's bounding rectangle but in no sector.
    const ChartLayout fan = LayoutChart(*loaded.doc, PersonOf(loaded, "I1"), ChartKind::Fan, {}, kMeasure);
    const ChartIndex index(fan);
    const ChartSector& mother = fan.boxes[2].sector;
    const double radius = mother.innerRadius + (mother.outerRadius - mother.innerRadius) / 5;
    const ChartPoint gap{fan.fanCentre.x + radius * std::sqrt(0.5), fan.fanCentre.y + radius * std::sqrt(0.5)};
    EXPECT_TRUE(fan.boxes[2].rect.contains(gap));
    EXPECT_EQ(index.boxAt(gap), -1);
}

TEST(ChartIndex, ArrowKeysMoveToTheNearestBoxThatWay) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    ChartOptions options;
    options.orientation = ChartOrientation::TopDown;
    options.generations = 3;
    const ChartLayout chart = LayoutChart(*loaded.doc, PersonOf(loaded, "I1"), ChartKind::Pedigree, options, kMeasure);
    // Boxes: 0 Carl; 1 Otto, 2 Ilse; 3 Hans, 4 Anna, 5 Paul, 6 the unknown mother.
    EXPECT_EQ(NeighbourBox(chart, 0, ChartDirection::Up), 0);
    EXPECT_EQ(NeighbourBox(chart, 1, ChartDirection::Right), 2);
    EXPECT_EQ(NeighbourBox(chart, 2, ChartDirection::Left), 1);
    EXPECT_EQ(NeighbourBox(chart, 2, ChartDirection::Up), 0);
    EXPECT_EQ(NeighbourBox(chart, 2, ChartDirection::Down), 5);
    EXPECT_EQ(NeighbourBox(chart, 4, ChartDirection::Right), 5);
    EXPECT_EQ(NeighbourBox(chart, 6, ChartDirection::Right), 6);
}

} // namespace
} // namespace stirpex
