#pragma once

// What a chart needs to know of the fonts it will be drawn with: the width of
// a text and the height of a line. The window passes its fonts' metrics, a
// writer those of its device; tests and benchmarks a fixed measure, so that
// every position is known in advance.

#include "charts/chart_layout.h"

#include <string_view>

namespace stirpex {

class ChartMeasure {
public:
    virtual ~ChartMeasure() = default;
    virtual double textWidth(ChartFont font, std::string_view text) const = 0;
    // The height of a text cell (ascent + descent).
    virtual double lineHeight(ChartFont font) const = 0;
};

// Every code point the same width, every line the same height.
class FixedMeasure final : public ChartMeasure {
public:
    explicit FixedMeasure(double charWidth = 7, double lineHeight = 14) noexcept
        : m_charWidth(charWidth), m_lineHeight(lineHeight) {}

    double textWidth(ChartFont, std::string_view text) const override {
        double count = 0;
        for (const char c : text) {
            count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
        }
        return count * m_charWidth;
    }
    double lineHeight(ChartFont) const override { return m_lineHeight; }

private:
    double m_charWidth;
    double m_lineHeight;
};

} // namespace stirpex
