#pragma once

// Finding what lies where on a laid-out chart, for a window that paints only
// what shows, hit-tests a click and moves between boxes with the keys.
//
// The boxes and the connectors are each kept in a grid of cells about the
// size of an average box, only the cells something touches being stored, in
// one sorted array: a query looks up the cells of each row the area covers
// with a binary search, so it costs the rows it spans and what it finds,
// never the size of the chart.

#include "charts/chart_layout.h"

#include <cstdint>
#include <vector>

namespace stirpex {

namespace detail {

class RectGrid {
public:
    RectGrid() = default;
    RectGrid(const std::vector<ChartRect>& rects, double cellWidth, double cellHeight);

    // The rectangles intersecting `area` (touching it for a rectangle without
    // width or height, as a line is), each once, appended to `out`.
    void find(const ChartRect& area, std::vector<std::int32_t>& out) const;

private:
    struct Cells {
        std::int64_t firstColumn, lastColumn, firstRow, lastRow;
    };
    Cells cellsOf(const ChartRect& rect) const;
    std::int64_t key(std::int64_t row, std::int64_t column) const noexcept { return row * m_columns + column; }

    std::vector<ChartRect> m_rects;
    std::vector<std::int64_t> m_keys;  // sorted cell keys, one per cell a rectangle touches
    std::vector<std::int32_t> m_items; // the rectangle of each key
    double m_left = 0, m_top = 0, m_cellWidth = 1, m_cellHeight = 1;
    std::int64_t m_columns = 1, m_rows = 1;
};

} // namespace detail

enum class ChartDirection { Left, Right, Up, Down };

class ChartIndex {
public:
    // The layout must outlive the index and stay as it is.
    explicit ChartIndex(const ChartLayout& layout);

    // Box and connector indices in the area, in no particular order; `out` is
    // cleared first, so a window can keep one vector from paint to paint.
    void boxesIn(const ChartRect& area, std::vector<std::int32_t>& out) const;
    void connectorsIn(const ChartRect& area, std::vector<std::int32_t>& out) const;
    // The box under the point, -1 for none; a fan's sectors by their shape, not their bounds.
    std::int32_t boxAt(ChartPoint point) const;

private:
    const ChartLayout& m_layout;
    detail::RectGrid m_boxes;
    detail::RectGrid m_connectors;
};

// Where a box's text centre is: the middle of its rectangle, or of a sector.
ChartPoint BoxCentre(const ChartLayout& layout, const ChartBox& box);
// The box the arrow keys lead to from `from`: the nearest whose centre lies
// within 45 degrees of the direction, else the nearest anywhere that way
// (from a parent up to the child far to one side), distance across the
// direction counting double; `from` itself when there is none.
std::int32_t NeighbourBox(const ChartLayout& layout, std::int32_t from, ChartDirection direction);

} // namespace stirpex
