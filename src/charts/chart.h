#pragma once

// The charts of a person: a pure function from the document, the person and
// what is asked to a layout (charts/chart_layout.h) that the window, the
// printer and the file writers draw as it is.
//
//   pedigree     the ancestors, from the person to the right (or down, or
//                up), each person centred between father and mother;
//   descendants  the tree dialog's walk drawn downwards, each family's
//                children centred under their parents;
//   hourglass    the ancestors above and the descendants below, sharing the
//                person's box;
//   fan          the ancestors in rings around the person.
//
// Whatever the file holds, a chart ends: a person met again is drawn once
// more with a reference to the first box and without their relatives, and
// generations and boxes are limited (charts/chart_options.h).

#include "charts/chart_layout.h"
#include "charts/chart_options.h"

namespace stirpex {

class ChartMeasure;
class CPerson;
class CStirpexDoc;

ChartLayout LayoutChart(const CStirpexDoc& doc, const CPerson& person, ChartKind kind, const ChartOptions& options,
                        const ChartMeasure& measure);

} // namespace stirpex
