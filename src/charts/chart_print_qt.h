#pragma once

// A chart on paper, drawn by the one drawing the window uses.

#include "charts/chart_layout.h"

class QPrinter;

namespace stirpex {

class ChartFonts;

enum class ChartPrintFit {
    OnePage, // scaled to fit one page, never enlarged past its own size
    Tiled,   // at its own size, over as many pages as it needs, row by row
};

// Prints on a printer set up by the caller; the number of pages printed, 0 on failure.
int PrintChart(QPrinter& printer, const ChartLayout& layout, const ChartFonts& fonts, ChartPrintFit fit);

} // namespace stirpex
