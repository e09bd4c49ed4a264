#include "charts/chart_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <numbers>

namespace stirpex {

namespace detail {

namespace {

// A grid wider than this many cells a side gets larger cells instead.
constexpr double kMaxCellsASide = 1 << 20;

bool touches(const ChartRect& a, const ChartRect& b) noexcept {
    return a.x <= b.right() && b.x <= a.right() && a.y <= b.bottom() && b.y <= a.bottom();
}

} // namespace

RectGrid::RectGrid(const std::vector<ChartRect>& rects, double cellWidth, double cellHeight) : m_rects(rects) {
    if (rects.empty()) {
        return;
    }
    double right = -std::numeric_limits<double>::infinity();
    double bottom = right;
    m_left = m_top = std::numeric_limits<double>::infinity();
    for (const ChartRect& rect : rects) {
        m_left = std::min(m_left, rect.x);
        m_top = std::min(m_top, rect.y);
        right = std::max(right, rect.right());
        bottom = std::max(bottom, rect.bottom());
    }
    m_cellWidth = std::max({cellWidth, (right - m_left) / kMaxCellsASide, 1e-9});
    m_cellHeight = std::max({cellHeight, (bottom - m_top) / kMaxCellsASide, 1e-9});
    m_columns = static_cast<std::int64_t>((right - m_left) / m_cellWidth) + 1;
    m_rows = static_cast<std::int64_t>((bottom - m_top) / m_cellHeight) + 1;

    std::vector<std::pair<std::int64_t, std::int32_t>> entries;
    entries.reserve(rects.size() * 2);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const Cells cells = cellsOf(rects[i]);
        for (std::int64_t row = cells.firstRow; row <= cells.lastRow; ++row) {
            for (std::int64_t column = cells.firstColumn; column <= cells.lastColumn; ++column) {
                entries.emplace_back(key(row, column), static_cast<std::int32_t>(i));
            }
        }
    }
    std::sort(entries.begin(), entries.end());
    m_keys.reserve(entries.size());
    m_items.reserve(entries.size());
    for (const auto& [cell, item] : entries) {
        m_keys.push_back(cell);
        m_items.push_back(item);
    }
}

RectGrid::Cells RectGrid::cellsOf(const ChartRect& rect) const {
    const auto cell = [](double offset, double size, std::int64_t count) {
        const double index = std::floor(offset / size);
        return static_cast<std::int64_t>(std::clamp(index, 0.0, static_cast<double>(count - 1)));
    };
    return {cell(rect.x - m_left, m_cellWidth, m_columns), cell(rect.right() - m_left, m_cellWidth, m_columns),
            cell(rect.y - m_top, m_cellHeight, m_rows), cell(rect.bottom() - m_top, m_cellHeight, m_rows)};
}

void RectGrid::find(const ChartRect& area, std::vector<std::int32_t>& out) const {
    if (m_rects.empty()) {
        return;
    }
    const ChartRect bounds{m_left, m_top, static_cast<double>(m_columns) * m_cellWidth,
                           static_cast<double>(m_rows) * m_cellHeight};
    if (!touches(area, bounds)) {
        return;
    }
    const Cells cells = cellsOf(area);
    for (std::int64_t row = cells.firstRow; row <= cells.lastRow; ++row) {
        const auto begin = std::lower_bound(m_keys.begin(), m_keys.end(), key(row, cells.firstColumn));
        const auto end = std::upper_bound(begin, m_keys.end(), key(row, cells.lastColumn));
        for (auto it = begin; it != end; ++it) {
            const std::int32_t item = m_items[static_cast<std::size_t>(it - m_keys.begin())];
            const ChartRect& rect = m_rects[static_cast<std::size_t>(item)];
            if (!touches(rect, area)) {
                continue;
            }
            // A rectangle over several cells is reported from the first of them the area covers.
            const Cells own = cellsOf(rect);
            const std::int64_t column = *it % m_columns;
            if (row == std::max(own.firstRow, cells.firstRow) &&
                column == std::max(own.firstColumn, cells.firstColumn)) {
                out.push_back(item);
            }
        }
    }
}

} // namespace detail

namespace {

constexpr double kDegree = std::numbers::pi / 180;

ChartRect boundsOf(const ChartSegment& segment) {
    const double left = std::min(segment.from.x, segment.to.x);
    const double top = std::min(segment.from.y, segment.to.y);
    return {left, top, std::max(segment.from.x, segment.to.x) - left, std::max(segment.from.y, segment.to.y) - top};
}

bool inSector(const ChartLayout& layout, const ChartSector& sector, ChartPoint point) {
    const double dx = point.x - layout.fanCentre.x;
    const double dy = layout.fanCentre.y - point.y;
    const double radius = std::hypot(dx, dy);
    if (radius < sector.innerRadius || radius >= sector.outerRadius) {
        return false;
    }
    if (sector.sweepAngle >= 360) {
        return true;
    }
    double angle = std::fmod(std::atan2(dy, dx) / kDegree - sector.startAngle, 360.0);
    if (angle < 0) {
        angle += 360;
    }
    return angle < sector.sweepAngle;
}

} // namespace

ChartIndex::ChartIndex(const ChartLayout& layout) : m_layout(layout) {
    std::vector<ChartRect> rects;
    rects.reserve(layout.boxes.size());
    double widths = 0;
    double heights = 0;
    for (const ChartBox& box : layout.boxes) {
        rects.push_back(box.rect);
        widths += box.rect.width;
        heights += box.rect.height;
    }
    // Cells of about two boxes a side: a box then touches one to four cells, and a window few more rows than it shows.
    const double count = std::max(static_cast<double>(rects.size()), 1.0);
    const double cellWidth = std::max(2 * widths / count, 1.0);
    const double cellHeight = std::max(2 * heights / count, 1.0);
    m_boxes = detail::RectGrid(rects, cellWidth, cellHeight);
    rects.clear();
    for (const ChartSegment& segment : layout.connectors) {
        rects.push_back(boundsOf(segment));
    }
    m_connectors = detail::RectGrid(rects, cellWidth, cellHeight);
}

void ChartIndex::boxesIn(const ChartRect& area, std::vector<std::int32_t>& out) const {
    out.clear();
    m_boxes.find(area, out);
}

void ChartIndex::connectorsIn(const ChartRect& area, std::vector<std::int32_t>& out) const {
    out.clear();
    m_connectors.find(area, out);
}

std::int32_t ChartIndex::boxAt(ChartPoint point) const {
    std::vector<std::int32_t> found;
    m_boxes.find({point.x, point.y, 0, 0}, found);
    std::sort(found.begin(), found.end());
    for (const std::int32_t index : found) {
        const ChartBox& box = m_layout.boxes[static_cast<std::size_t>(index)];
        if (box.isSector ? inSector(m_layout, box.sector, point) : box.rect.contains(point)) {
            return index;
        }
    }
    return -1;
}

ChartPoint BoxCentre(const ChartLayout& layout, const ChartBox& box) {
    if (!box.isSector) {
        return box.rect.centre();
    }
    if (box.sector.innerRadius <= 0) {
        return layout.fanCentre;
    }
    const double radius = (box.sector.innerRadius + box.sector.outerRadius) / 2;
    const double angle = (box.sector.startAngle + box.sector.sweepAngle / 2) * kDegree;
    return {layout.fanCentre.x + radius * std::cos(angle), layout.fanCentre.y - radius * std::sin(angle)};
}

std::int32_t NeighbourBox(const ChartLayout& layout, std::int32_t from, ChartDirection direction) {
    if (from < 0 || static_cast<std::size_t>(from) >= layout.boxes.size()) {
        return from;
    }
    const ChartPoint origin = BoxCentre(layout, layout.boxes[static_cast<std::size_t>(from)]);
    const bool horizontal = direction == ChartDirection::Left || direction == ChartDirection::Right;
    const double sign = direction == ChartDirection::Left || direction == ChartDirection::Up ? -1 : 1;
    // The best box within 45 degrees of the direction, and the best anywhere that way.
    std::int32_t best[2] = {from, from};
    double bestScore[2] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
        const ChartPoint p = BoxCentre(layout, layout.boxes[i]);
        const double along = sign * (horizontal ? p.x - origin.x : p.y - origin.y);
        const double across = std::abs(horizontal ? p.y - origin.y : p.x - origin.x);
        if (along <= 0) {
            continue;
        }
        const double score = along + 2 * across;
        for (const int kind : {0, 1}) {
            if ((kind == 1 || across <= along) && score < bestScore[kind]) {
                bestScore[kind] = score;
                best[kind] = static_cast<std::int32_t>(i);
            }
        }
    }
    return best[0] != from ? best[0] : best[1];
}

} // namespace stirpex
