#include "charts/fan_chart.h"

#include "chart_test_support.h"
#include "charts/chart.h"
#include "charts/chart_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <map>
#include <vector>

namespace stirpex {
namespace {

using test::BoxesOf;
using test::PersonOf;

const FixedMeasure kMeasure;

ChartLayout fanOf(const test::LoadedDoc& loaded, std::string_view id, std::int32_t generations, double sweep = 240) {
    ChartOptions options;
    options.generations = generations;
    options.fanSweep = sweep;
    options.ahnentafelNumbers = true;
    return LayoutChart(*loaded.doc, PersonOf(loaded, id), ChartKind::Fan, options, kMeasure);
}

std::map<std::int32_t, std::vector<const ChartBox*>> rings(const ChartLayout& fan) {
    std::map<std::int32_t, std::vector<const ChartBox*>> byGeneration;
    for (const ChartBox& box : fan.boxes) {
        byGeneration[box.generation].push_back(&box);
    }
    for (auto& [generation, boxes] : byGeneration) {
        std::sort(boxes.begin(), boxes.end(),
                  [](const ChartBox* a, const ChartBox* b) { return a->sector.startAngle < b->sector.startAngle; });
    }
    return byGeneration;
}

TEST(FanChart, FullRingsTileTheFanFromTheFathersSide) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    for (const double sweep : {180.0, 240.0, 360.0}) {
        const ChartLayout fan = fanOf(loaded, "I1", 4, sweep);
        const auto byGeneration = rings(fan);
        ASSERT_EQ(byGeneration.at(0).size(), 1U);
        EXPECT_EQ(byGeneration.at(0)[0]->sector.innerRadius, 0);
        EXPECT_EQ(byGeneration.at(0)[0]->sector.sweepAngle, 360);
        for (const std::int32_t generation : {1, 2}) { // complete with the unknown mother's sector
            const auto& ring = byGeneration.at(generation);
            ASSERT_EQ(ring.size(), std::size_t{1} << generation);
            EXPECT_DOUBLE_EQ(ring.front()->sector.startAngle, 90 - sweep / 2);
            for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
                EXPECT_DOUBLE_EQ(ring[i]->sector.startAngle + ring[i]->sector.sweepAngle,
                                 ring[i + 1]->sector.startAngle);
                EXPECT_DOUBLE_EQ(ring[i]->sector.innerRadius, ring[i + 1]->sector.innerRadius);
                EXPECT_DOUBLE_EQ(ring[i]->sector.outerRadius, ring[i + 1]->sector.outerRadius);
            }
            EXPECT_DOUBLE_EQ(ring.back()->sector.startAngle + ring.back()->sector.sweepAngle, 90 + sweep / 2);
        }
        // Sorted by angle from the right: the mother's side first, the father at the far left.
        EXPECT_EQ(byGeneration.at(1).back()->person, PersonOf(loaded, "I2").m_nIndex);
        EXPECT_EQ(byGeneration.at(2).front()->kind, ChartBoxKind::UnknownMother);
    }
}

TEST(FanChart, ParentsSplitTheirChildsSweepAndStandOnItsRing) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    const ChartLayout fan = fanOf(loaded, "I1", 6);
    int parents = 0;
    for (const ChartBox& box : fan.boxes) {
        if (box.towardCentre < 0) {
            continue;
        }
        ++parents;
        const ChartSector& child = fan.boxes[static_cast<std::size_t>(box.towardCentre)].sector;
        EXPECT_DOUBLE_EQ(box.sector.innerRadius, child.outerRadius);
        const double half = box.generation == 1 ? 240.0 / 2 : child.sweepAngle / 2;
        EXPECT_DOUBLE_EQ(box.sector.sweepAngle, half);
        const bool father = box.kind == ChartBoxKind::UnknownFather || (box.person >= 0 && box.sex == ChartSex::Male);
        const double childStart = box.generation == 1 ? 90 - 120 : child.startAngle;
        EXPECT_DOUBLE_EQ(box.sector.startAngle, father ? childStart + half : childStart);
    }
    EXPECT_EQ(parents, static_cast<int>(fan.boxes.size()) - 1);
}

TEST(FanChart, EveryRingOfAFullPedigreeTilesTheFan) {
    const auto loaded = test::LoadText(test::FullPedigree(8));
    const ChartLayout fan = fanOf(loaded, "P1", 8);
    for (const auto& [generation, ring] : rings(fan)) {
        if (generation == 0) {
            continue;
        }
        ASSERT_EQ(ring.size(), std::size_t{1} << generation);
        double angle = 90 - 240.0 / 2;
        for (const ChartBox* box : ring) {
            EXPECT_NEAR(box->sector.startAngle, angle, 1e-9);
            angle += box->sector.sweepAngle;
        }
        EXPECT_NEAR(angle, 90 + 240.0 / 2, 1e-9);
    }
}

TEST(FanChart, EveryTextLiesInItsOwnSector) {
    const auto loaded = test::LoadText(test::FullPedigree(8));
    const ChartLayout fan = fanOf(loaded, "P1", 8, 360);
    // The outer rings are too narrow for names along the arc: they run along the radius.
    const auto alongRadius = [&](const ChartBox& box) {
        const double angle = box.sector.startAngle + box.sector.sweepAngle / 2;
        return std::abs(std::sin((fan.textsOf(box)[0].rotation + angle) * std::numbers::pi / 180)) < 1e-9;
    };
    EXPECT_TRUE(alongRadius(fan.boxes.back()));
    EXPECT_FALSE(alongRadius(fan.boxes[1]));
    const ChartIndex index(fan);
    for (std::size_t i = 0; i < fan.boxes.size(); ++i) {
        ASSERT_GT(fan.boxes[i].textCount, 0U);
        for (const ChartText& text : fan.textsOf(fan.boxes[i])) {
            EXPECT_EQ(index.boxAt(text.centre), static_cast<std::int32_t>(i)) << text.text;
        }
        EXPECT_TRUE(fan.boxes[i].rect.x >= 0 && fan.boxes[i].rect.right() <= fan.width + 1e-9);
        EXPECT_TRUE(fan.boxes[i].rect.y >= 0 && fan.boxes[i].rect.bottom() <= fan.height + 1e-9);
    }
}

TEST(FanChart, RepeatsEmptySectorsAndGenerationRange) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    const ChartLayout fan = fanOf(loaded, "I1", 5);
    const auto karl = BoxesOf(fan, PersonOf(loaded, "I8"));
    ASSERT_EQ(karl.size(), 2U);
    EXPECT_EQ(fan.boxes[static_cast<std::size_t>(karl[1])].firstBox, karl[0]);
    EXPECT_EQ(fan.boxes.size(), 17U); // 1 + 2 + 4 + 6 + the unknown parents of Karl's and Marie's first boxes

    EXPECT_EQ(fanOf(loaded, "I1", 1).ancestorGenerations, kMinFanGenerations - 1);
    EXPECT_EQ(Normalized(ChartKind::Fan, {.generations = 50}).generations, kMaxFanGenerations);
}

} // namespace
} // namespace stirpex
