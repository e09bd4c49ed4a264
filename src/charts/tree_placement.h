#pragma once

// From the units of a walk to boxes on the chart: each box sized to its texts
// (every box of a generation as wide as the widest when generations run from
// left to right, so that they stand in columns), the generations one after
// the other with room for the connectors between them, and the units of each
// generation placed by the tidy tree. The lines run from a parent's edge to
// the middle of the gap, along it over the children, and down to each; with
// partners, a family's line leaves from between the person and that
// family's partner, and a line joins the boxes of a couple.

#include "charts/box_text.h"
#include "charts/chart_layout.h"
#include "charts/chart_options.h"
#include "charts/chart_tree.h"

namespace stirpex {

class ChartMeasure;

namespace detail {

// The centre person's unit is at level 0, its leading edge at breadth 0; the
// chart is not yet moved to its origin.
ChartLayout PlaceTree(const ChartTree& tree, ChartOrientation orientation, const BoxStyle& style,
                      const ChartMeasure& measure, const ChartOptions& options);

// Moves boxes, texts and connectors so that the chart starts at (margin,
// margin), and sets its width and height.
void FitToOrigin(ChartLayout& layout, double margin);

} // namespace detail
} // namespace stirpex
