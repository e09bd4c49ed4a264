#pragma once

// One drawing of a laid-out chart for the window, the printer and the file
// writers alike, in chart units on whatever painter it is handed: the caller
// sets the painter's transform (scroll and zoom, a page, a file's size).
//
// The sex reads without colour too: a man's box has square corners and a
// heavy edge, a woman's round corners and a heavy edge, anyone else a thin
// edge; an empty box a dashed edge and grey italics; a person drawn before a
// folded corner, the collapse mark, beside its "Repeated" line.

#include "charts/chart_layout.h"
#include "charts/chart_measure.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

class QPainter;

namespace stirpex {

// The three fonts of a chart, sized in pixels so that a chart unit is a
// pixel on screen and the same proportion of any page or file.
class ChartFonts {
public:
    ChartFonts(); // the application's font family at the chart's sizes
    explicit ChartFonts(const QFont& base);

    const QFont& font(ChartFont which) const noexcept { return m_fonts[static_cast<std::size_t>(which)]; }

private:
    std::array<QFont, 3> m_fonts;
};

// Measures with the fonts' own metrics, unhinted, so that a text measured for
// the screen fits the same box in a PDF or an SVG file.
class QtChartMeasure final : public ChartMeasure {
public:
    explicit QtChartMeasure(const ChartFonts& fonts);
    double textWidth(ChartFont font, std::string_view text) const override;
    double lineHeight(ChartFont font) const override;

private:
    // Made once: a chart measures hundreds of thousands of texts.
    std::array<QFontMetricsF, 3> m_metrics;
};

// Draws the listed connectors and boxes with their texts.
void DrawChartParts(QPainter& painter, const ChartLayout& layout, const ChartFonts& fonts,
                    std::span<const std::int32_t> boxes, std::span<const std::int32_t> connectors);
// Draws the whole chart on a white ground.
void DrawChart(QPainter& painter, const ChartLayout& layout, const ChartFonts& fonts);
// The keyboard focus around a box.
void DrawChartFocus(QPainter& painter, const ChartLayout& layout, std::int32_t box);

} // namespace stirpex
