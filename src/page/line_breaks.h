#pragma once

// Long values on paper: a text cut into lines that each fit a width, as a
// surface measures them in its current face.

#include "page/page_surface.h"

#include <string_view>
#include <vector>

namespace stirpex {

// The lines of `text` no wider than `width`: broken after a run of blanks
// where the line has one (the blanks stay at the end of the line before), inside
// a word only where the word alone is wider, and never with fewer than one
// character on a line. A width of 0 or less breaks nothing. The lines are
// views into `text` and together hold all of it.
std::vector<std::string_view> BreakLines(PageSurface& surface, std::string_view text, int width);

} // namespace stirpex
