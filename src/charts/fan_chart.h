#pragma once

// The fan: the centre person a disc, each generation of ancestors a ring
// around it, the father's side on the left. A ring is cut into as many equal
// sectors as the generation has places (2 parents, 4 grandparents, ...), in
// Ahnentafel order from the left, so each person's parents share that
// person's sweep, the father's half first. Places nobody fills stay blank
// unless they are a known person's unknown parent (an empty sector that says
// so). Inner rings, whose sectors are long, carry their text along the arc;
// outer rings, whose sectors are narrow, along the radius, the ring as wide
// as its longest name needs.

#include "charts/chart_layout.h"
#include "charts/chart_options.h"

namespace stirpex {

class ChartMeasure;
class CPerson;
class CStirpexDoc;

namespace detail {

// `options` normalised for the fan.
ChartLayout LayoutFan(const CStirpexDoc& doc, const CPerson& person, const ChartOptions& options,
                      const ChartMeasure& measure);

} // namespace detail
} // namespace stirpex
