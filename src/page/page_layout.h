#pragma once

// The screen page as its last layout left it: every text with its corner,
// width and face, the link each link text stands for, and which texts form
// the "Notes" and "Sources" columns. The page is laid out once per person,
// window width and document and then painted from here as often as the
// window asks; a paint picks the texts of the exposed rows without looking
// at the others. Items keep their drawing order, which is the order in which
// the page has always drawn, so every surface sees the same sequence.

#include "page/page_link.h"
#include "page/page_surface.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stirpex {

// Where a text stands: in the value area (labels included) or in one of the two columns.
enum class PageColumn : std::uint8_t { Value, Notes, Sources };

struct LaidText {
    int x = 0;
    int y = 0;
    int width = 0;
    PageFace face = PageFace::Text;
    PageColumn column = PageColumn::Value;
    int link = -1; // index in the page's link table, -1 for a plain text
    std::string text;
};

class PageLayout {
public:
    // Every item is this tall: one screen row.
    static constexpr int kRowHeight = 20;

    void clear() noexcept;
    void add(LaidText item) { m_items.push_back(std::move(item)); }
    const std::vector<LaidText>& items() const noexcept { return m_items; }
    LaidText& item(std::size_t i) noexcept { return m_items[i]; }

    // The right edge of the widest text of the value area, 0 for none.
    int valueRight() const noexcept;
    // The widest text of a column, 0 for none.
    int columnWidth(PageColumn column) const noexcept;
    // Moves every text of `column` to x.
    void moveColumn(PageColumn column, int x) noexcept;
    // The right edge of the rightmost text, 0 for none.
    int right() const noexcept;

    // Prepares the row search; call once the items are placed.
    void finish();
    // The run of items, in drawing order, outside which none meets the rows
    // from `top` to `bottom` (exclusive); those inside may still miss them.
    std::pair<std::size_t, std::size_t> rowRange(int top, int bottom) const noexcept;

private:
    std::vector<LaidText> m_items;
    // The largest bottom of items 0..i and the smallest top of items i..end:
    // both grow with i, so each answers a binary search although the page
    // draws its first rows out of order.
    std::vector<int> m_bottomUpTo;
    std::vector<int> m_topFrom;
};

// Lays a page out instead of drawing it: each text drawn becomes an item of
// the layout, measured by the surface the page will be painted on.
class LayoutRecorder final : public PageSurface {
public:
    LayoutRecorder(PageSurface& measure, PageLayout& layout) noexcept : m_measure(measure), m_layout(layout) {}

    PageFace SelectFace(PageFace face) override;
    void SetTextColor(Rgb) override {}
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override { return m_measure.TextWidth(text); }

private:
    PageSurface& m_measure;
    PageLayout& m_layout;
    PageFace m_face = PageFace::Text;
};

// The right edge of a text of `width` at x, stopping at the largest int
// rather than wrapping round to the left.
int RightEdge(int x, int width) noexcept;

} // namespace stirpex
