#pragma once

// The people of a chart before they have a place: what the walks find, what
// the box texts are made from and what the tree placement arranges.
//
// A unit is what stands in one place of a generation: a person, an empty box
// for an unknown parent, or (descendants with partners) a person followed by
// a partner box for each spouse family. Units are kept breadth-first, each
// unit's children together and after it, so a pass backwards meets every
// child before its parent and a pass forwards every parent before its
// children, both without recursion.

#include "charts/chart_layout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace stirpex {
class CPerson;
}

namespace stirpex::detail {

struct TreeBox {
    const CPerson* person = nullptr; // null for an empty box
    ChartBoxKind kind = ChartBoxKind::Person;
    std::int32_t generation = 0;
    std::int32_t firstBox = -1;
    // The person's first box in the tree drawn before this one (the
    // hourglass's ancestors, for a box among its descendants).
    std::int32_t earlierBox = -1;
    std::int32_t towardCentre = -1;
    std::string number; // the Ahnentafel number, when asked for
};

struct TreeUnit {
    std::int32_t parent = -1;
    std::int32_t childBegin = 0;
    std::int32_t childEnd = 0;
    std::int32_t level = 0; // 0 for the centre person's unit
    std::int32_t boxBegin = 0;
    std::int32_t boxEnd = 0;
    // Of the parent unit's families, the one this unit is a child of: its
    // line drops from before that family's partner box.
    std::int32_t family = 0;
    bool mother = false; // ancestors: the mother (or her empty box) of the parent unit's person
};

struct ChartTree {
    std::vector<TreeUnit> units;
    std::vector<TreeBox> boxes; // unit after unit
    std::int32_t levels = 0;
    bool cut = false;
    bool partners = false;              // units may hold partner boxes after their person
    bool repeats = false;               // some box marks a person drawn before
    const ChartTree* earlier = nullptr; // the tree earlierBox refers to
};

} // namespace stirpex::detail
