#pragma once

// The walks of a chart: breadth-first from the centre person, so that the
// first box of anyone reached twice is the nearest one, and so that a limit
// on the boxes keeps whole nearer generations. Someone reached again gets a
// box that refers to the first and nothing of their own relatives, which
// ends every loop a file may hold.
//
// Ancestors: father before mother, each a unit of one box; with
// unknownParents, a person whose parents are (partly) unknown gets empty
// boxes in their place, up to the last generation asked for.
// Descendants follow the tree dialog's walk: spouse families in file order,
// each family's partner (GetSpouse; an "Unknown partner" box when there is
// none) and then its children in file order.

#include "charts/chart_options.h"
#include "charts/chart_tree.h"

#include <cstdint>

namespace stirpex {

class CPerson;
class CStirpexDoc;

namespace detail {

// `generations` counts the person's own; generation numbers go up from 0.
ChartTree WalkAncestors(const CStirpexDoc& doc, const CPerson& person, std::int32_t generations,
                        const ChartOptions& options);
// Generation numbers go down from 0. Someone with a box in `earlier` (the
// half of an hourglass drawn first, which shares the person's box) is
// reached again here, whatever this walk has met.
ChartTree WalkDescendants(const CStirpexDoc& doc, const CPerson& person, std::int32_t generations,
                          const ChartOptions& options, const ChartTree* earlier = nullptr);

} // namespace detail
} // namespace stirpex
