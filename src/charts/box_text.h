#pragma once

// What a box says, one line under the other: its Ahnentafel number when asked
// for, the name ("Surname, Given names") and the years, or what an empty box
// stands for, and, for a person drawn before, where to look. Every box of a
// chart has room for the same lines, so boxes of one generation line up.

#include "charts/chart_layout.h"
#include "charts/chart_options.h"
#include "charts/chart_tree.h"

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class ChartMeasure;
class CPerson;

// "Surname, Given names", either alone when the other is missing.
std::string ChartName(const CPerson& person);
// "1850-1920", "c1850-?", "44 BC-?"; empty when neither year is known.
std::string ChartYears(const CPerson& person);
// The sex a box shows; Unknown for an empty box and for any SEX but M and F.
ChartSex ChartSexOf(const CPerson* person) noexcept;
// The text of an empty box: "Unknown father", "Unknown mother", "Unknown partner"; empty for a person.
std::string_view EmptyBoxText(ChartBoxKind kind) noexcept;
// What a screen reader says for box `box` of `layout`: its texts as drawn, top
// line first, joined by ", " ("Brandt, Carl, 1900-?", "Unknown father",
// "Brandt, Karl, ?-c1850, Repeated, see 8"). A person's box without a name
// begins "No name", so that no box is silent.
std::string SpokenBoxText(const ChartLayout& layout, std::size_t box);
// The text as far as it fits `width`, cut with an ellipsis after a whole code
// point; the whole text when it fits, the ellipsis alone when nothing else does.
std::string Elided(const ChartMeasure& measure, ChartFont font, std::string_view text, double width);

namespace detail {

struct BoxStyle {
    bool numbers = false; // a line for the Ahnentafel number
    bool marks = false;   // a line for "Repeated, see ..."
    double padding = 0;
    double minWidth = 0;
    double maxWidth = 0;
    double height = 0; // of every box
};

// A box of the chart for a box of the walk: who, which kind, the references; no place and no texts yet.
ChartBox ChartBoxFor(const TreeBox& from);

BoxStyle MakeBoxStyle(const ChartMeasure& measure, const ChartOptions& options, bool numbers, bool marks);

struct BoxLine {
    std::string text;
    ChartFont font = ChartFont::Name;
    double width = 0;
};

// The lines of box `index` of the tree, each cut to what a box of the widest kind can hold.
std::vector<BoxLine> BoxLines(const ChartTree& tree, std::size_t index, const ChartMeasure& measure,
                              double maxTextWidth);

} // namespace detail
} // namespace stirpex
