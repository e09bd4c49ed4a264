#pragma once

// Sizes and names the main window decides for its document windows and its
// status bar, kept apart from the widgets so they can be checked without a
// screen.

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

// The title of one window on a document: the document's own title while it is
// its only window, else "harrow_family.ged:2" for the second of them, so the
// Window menu tells two views of one file apart. `number` counts from 1; 0
// stands for the only window.
std::string NumberedTitle(std::string_view title, int number);

struct CascadeRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const CascadeRect&, const CascadeRect&) noexcept = default;
};

// Where `count` windows stand when cascaded over an area of `width` by
// `height`, each `step` further right and down than the one before it, the
// first at the back. The windows shrink by the steps they need, but never
// below two thirds of the area: past that the cascade starts again at the
// top left corner, as a pile of cards would, instead of making windows too
// small to read a page in.
std::vector<CascadeRect> CascadeRects(int count, int width, int height, int step);

// The width of the statistics pane: its `preferred` width while the status
// line beside it leaves room for a prompt `promptWidth` wide, narrower as far
// as the prompt needs, down to nothing.
int StatsPaneWidth(int barWidth, int promptWidth, int preferred) noexcept;

} // namespace stirpex
