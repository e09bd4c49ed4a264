#pragma once

// What the user (or the command line) asks of a chart, and the limits that
// keep a chart of a file thousands of generations deep to a size a window can
// hold: each kind opens on a few generations, a number asked for is brought
// into range, and no chart holds more than maxBoxes boxes.

#include "charts/chart_layout.h"

#include <cstdint>

namespace stirpex {

inline constexpr std::int32_t kMinFanGenerations = 2;
inline constexpr std::int32_t kMaxFanGenerations = 10;
// A generation count is capped for every kind: beyond it the box limit cuts
// the chart long before anyone could read it.
inline constexpr std::int32_t kMaxChartGenerations = 10000;
inline constexpr std::int32_t kMaxChartBoxes = 500000;

struct ChartOptions {
    // Generations counted with the centre person's own: 1 is the person alone.
    // The hourglass takes `generations` for its ancestors (the person's
    // included) and `descendantGenerations` for the rest.
    std::int32_t generations = 0; // 0: the kind's default
    std::int32_t descendantGenerations = 0;
    ChartOrientation orientation = ChartOrientation::LeftToRight; // pedigree only
    bool includeSpouses = true;                                   // descendants and hourglass
    bool ahnentafelNumbers = false;                               // pedigree, hourglass, fan
    bool unknownParents = true;                                   // empty boxes for the parents a file does not give
    double fanSweep = 240;                                        // degrees, 90 to 360
    std::int32_t maxBoxes = kMaxChartBoxes;

    // Spacing, in chart units.
    double boxPadding = 4;
    double minBoxWidth = 90;
    double maxBoxWidth = 220;
    double siblingGap = 12;    // between boxes of one generation
    double generationGap = 36; // between generations, where the connectors run
    double partnerGap = 10;    // between a person and a partner
    double margin = 10;        // around the whole chart
    double fanRingWidth = 0;   // 0: from the texts
};

// The default number of generations of each kind, for generations = 0.
std::int32_t DefaultGenerations(ChartKind kind) noexcept;
// The options with every number brought into its range for the kind.
ChartOptions Normalized(ChartKind kind, ChartOptions options) noexcept;

} // namespace stirpex
