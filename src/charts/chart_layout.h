#pragma once

// A chart as the window and the file writers draw it: boxes, the texts in
// them, the lines between them and the size of the whole, all decided here so
// that a writer only draws what it is given.
//
// Coordinates: chart units (a pixel at 100 %), x to the right and y downwards,
// the whole chart inside (0, 0) - (width, height). A text is placed by the
// centre of its cell (ascent + descent of its font) and turned `rotation`
// degrees clockwise about that centre, so a writer translates to the centre,
// rotates, and draws the text at (-width / 2, -lineHeight / 2) as the top-left
// corner of its cell. A fan chart's sectors use angles in degrees counted
// counter-clockwise from the 3 o'clock direction, as arcs are drawn on screen:
// the point at angle a and radius r is (cx + r cos a, cy - r sin a).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace stirpex {

enum class ChartKind { Pedigree, Descendants, Hourglass, Fan };

// Where the generations go from the centre person: parents (or children) to the
// right, below, or above.
enum class ChartOrientation { LeftToRight, TopDown, BottomUp };

enum class ChartSex { Unknown, Male, Female };

// Name: a person's name; Detail: years and numbers; Note: what a box says
// about itself (an unknown parent, a repeated person), set apart in italics.
enum class ChartFont { Name, Detail, Note };

enum class ChartBoxKind { Person, UnknownFather, UnknownMother, UnknownPartner };

struct ChartPoint {
    double x = 0;
    double y = 0;
};

struct ChartRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double right() const noexcept { return x + width; }
    double bottom() const noexcept { return y + height; }
    ChartPoint centre() const noexcept { return {x + width / 2, y + height / 2}; }
    // Touching edges do not intersect: neighbouring boxes may share an edge.
    bool intersects(const ChartRect& other) const noexcept {
        return x < other.right() && other.x < right() && y < other.bottom() && other.y < bottom();
    }
    bool contains(ChartPoint p) const noexcept { return p.x >= x && p.x < right() && p.y >= y && p.y < bottom(); }
};

// A ring's piece of a fan chart around the layout's fanCentre.
struct ChartSector {
    double innerRadius = 0; // 0 for the centre disc
    double outerRadius = 0;
    double startAngle = 0; // degrees, counter-clockwise from 3 o'clock
    double sweepAngle = 0; // degrees, counter-clockwise from startAngle; 360 for the disc
};

struct ChartText {
    std::string text;
    ChartFont font = ChartFont::Name;
    ChartPoint centre;
    double width = 0;    // as the measure gave it
    double rotation = 0; // degrees clockwise about the centre
};

struct ChartBox {
    ChartRect rect; // the box; a sector's bounding rectangle
    ChartBoxKind kind = ChartBoxKind::Person;
    ChartSex sex = ChartSex::Unknown;
    std::int32_t person = -1; // m_nIndex; -1 for an empty box
    // 0 for the centre person, 1 for the parents, -1 for the children, and so on.
    std::int32_t generation = 0;
    // A person drawn a second time (pedigree collapse, or a descendant reached
    // through two lines): the box where they are drawn with their relatives,
    // which this one does not repeat. -1 for a first box.
    std::int32_t firstBox = -1;
    // The box this one hangs from on the way to the centre person: the child in
    // a pedigree, the parent among descendants, the person a partner is
    // married to. -1 for the centre person.
    std::int32_t towardCentre = -1;
    bool isSector = false;
    ChartSector sector;
    std::uint32_t textBegin = 0;
    std::uint32_t textCount = 0;
};

struct ChartSegment {
    ChartPoint from;
    ChartPoint to;
};

struct ChartLayout {
    ChartKind kind = ChartKind::Pedigree;
    ChartOrientation orientation = ChartOrientation::LeftToRight;
    double width = 0;
    double height = 0;
    ChartPoint fanCentre; // fan charts only
    // Generations drawn on each side of the centre person (ancestors and
    // descendants: 0 when the chart shows none of them).
    std::int32_t ancestorGenerations = 0;
    std::int32_t descendantGenerations = 0;
    // The chart stopped at the box limit: it holds the first boxes, nearest
    // generations first, of a larger one.
    bool cut = false;
    std::vector<ChartBox> boxes; // boxes[0] is the centre person
    std::vector<ChartText> texts;
    std::vector<ChartSegment> connectors;

    std::span<const ChartText> textsOf(const ChartBox& box) const noexcept {
        return std::span<const ChartText>(texts).subspan(box.textBegin, box.textCount);
    }
};

} // namespace stirpex
