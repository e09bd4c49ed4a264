#include "page/page_layout.h"

#include <algorithm>
#include <limits>

namespace stirpex {

int RightEdge(int x, int width) noexcept {
    const std::int64_t right = std::int64_t{x} + std::max(width, 0);
    return static_cast<int>(std::min<std::int64_t>(right, std::numeric_limits<int>::max()));
}

PageFace LayoutRecorder::SelectFace(PageFace face) {
    m_measure.SelectFace(face);
    const PageFace previous = m_face;
    m_face = face;
    return previous;
}

void LayoutRecorder::TextOut(int x, int y, std::string_view text) {
    m_layout.add(LaidText{x, y, m_measure.TextWidth(text), m_face, PageColumn::Value, -1, std::string(text)});
}

void PageLayout::clear() noexcept {
    m_items.clear();
    m_bottomUpTo.clear();
    m_topFrom.clear();
}

int PageLayout::valueRight() const noexcept {
    int right = 0;
    for (const LaidText& item : m_items) {
        if (item.column == PageColumn::Value) {
            right = std::max(right, RightEdge(item.x, item.width));
        }
    }
    return right;
}

int PageLayout::columnWidth(PageColumn column) const noexcept {
    int width = 0;
    for (const LaidText& item : m_items) {
        if (item.column == column) {
            width = std::max(width, item.width);
        }
    }
    return width;
}

void PageLayout::moveColumn(PageColumn column, int x) noexcept {
    for (LaidText& item : m_items) {
        if (item.column == column) {
            item.x = x;
        }
    }
}

int PageLayout::right() const noexcept {
    int right = 0;
    for (const LaidText& item : m_items) {
        right = std::max(right, RightEdge(item.x, item.width));
    }
    return right;
}

void PageLayout::finish() {
    const std::size_t n = m_items.size();
    m_bottomUpTo.resize(n);
    m_topFrom.resize(n);
    int bottom = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < n; ++i) {
        bottom = std::max(bottom, m_items[i].y + kRowHeight);
        m_bottomUpTo[i] = bottom;
    }
    int top = std::numeric_limits<int>::max();
    for (std::size_t i = n; i-- > 0;) {
        top = std::min(top, m_items[i].y);
        m_topFrom[i] = top;
    }
}

std::pair<std::size_t, std::size_t> PageLayout::rowRange(int top, int bottom) const noexcept {
    // Before `first` every item ends at or above `top`; from `last` on every item starts at or below `bottom`.
    const auto first = std::upper_bound(m_bottomUpTo.begin(), m_bottomUpTo.end(), top);
    const auto last = std::lower_bound(m_topFrom.begin(), m_topFrom.end(), bottom);
    const auto begin = static_cast<std::size_t>(first - m_bottomUpTo.begin());
    const auto end = static_cast<std::size_t>(last - m_topFrom.begin());
    return {begin, std::max(begin, end)};
}

} // namespace stirpex
