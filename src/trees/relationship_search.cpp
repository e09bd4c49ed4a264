#include "trees/relationship_search.h"

#include "model/parent_table.h"
#include "model/stirpex_doc.h"
#include "trees/ancestry_climb.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

namespace stirpex {

namespace {

constexpr std::int32_t kNone = AncestryClimb::kNone;

// One side of a search: a climb, perhaps shared with other searches, and
// how far this search has taken it. What the side has reached is what its
// climb met within `level` generations, whatever the climb met beyond.
struct Side {
    AncestryClimb& climb;
    int level = 0;

    std::int32_t positionOf(std::int32_t person) const noexcept {
        const std::int32_t position = climb.positionOf(person);
        return position != kNone && position < climb.levelEnd(level) ? position : kNone;
    }
    bool reached(std::int32_t person) const noexcept { return positionOf(person) != kNone; }
    // For a person reached.
    std::int32_t depth(std::int32_t person) const noexcept { return climb.at(climb.positionOf(person)).depth; }
    std::int32_t via(std::int32_t person) const noexcept {
        const std::int32_t child = climb.at(climb.positionOf(person)).via;
        return child == kNone ? kNone : climb.at(child).person;
    }
    std::int32_t frontierSize() const noexcept { return climb.levelEnd(level) - climb.levelBegin(level); }
    // The level below which every person of this side has been met; no more after an empty frontier.
    int settled() const noexcept { return frontierSize() == 0 ? INT_MAX / 4 : level; }
};

class Climb {
public:
    Climb(const CStirpexDoc& doc, AncestryClimb& first, AncestryClimb& second)
        : m_doc(doc), m_sides{Side{first}, Side{second}} {}

    void run();
    std::vector<BloodLine> lines();

private:
    void climbOneLevel(int side);
    int nextSide() const;
    bool belowCommon(int side, std::int32_t person);
    bool common(std::int32_t person) const { return m_sides[0].reached(person) && m_sides[1].reached(person); }
    int generations(std::int32_t person) const { return m_sides[0].depth(person) + m_sides[1].depth(person); }
    // In a file without loops a common ancestor's child on the way down is nearer;
    // in a loop (a child who is also an ancestor) it may not be, and then both stand.
    bool nearerCommon(std::int32_t below, std::int32_t above) const {
        return common(below) && (!common(above) || generations(below) < generations(above));
    }
    const CPerson* person(std::int32_t index) const { return m_doc.m_ppPersons[static_cast<std::size_t>(index)].get(); }
    BloodLine lineThrough(const std::vector<std::int32_t>& ancestors) const;
    std::vector<const CPerson*> pathDown(const Side& side, std::int32_t from) const;

    const CStirpexDoc& m_doc;
    std::array<Side, 2> m_sides;
    std::vector<std::int32_t> m_meetings;
    int m_best = INT_MAX;
    // By position on each side: -1 not yet known, else whether the path down
    // from there passes through a nearer common ancestor.
    std::array<std::vector<std::int8_t>, 2> m_below;
};

void Climb::climbOneLevel(int sideIndex) {
    Side& side = m_sides[static_cast<std::size_t>(sideIndex)];
    const Side& other = m_sides[static_cast<std::size_t>(1 - sideIndex)];
    side.climb.climbTo(side.level + 1);
    ++side.level;
    const std::int32_t end = side.climb.levelEnd(side.level);
    for (std::int32_t position = side.climb.levelBegin(side.level); position < end; ++position) {
        const std::int32_t parent = side.climb.at(position).person;
        if (other.reached(parent)) {
            m_meetings.push_back(parent);
            m_best = std::min(m_best, side.level + other.depth(parent));
        }
    }
}

// Before any meeting, the side with fewer people to climb from; after one, the
// lower side, as it holds back the bound on what is still unmet.
int Climb::nextSide() const {
    if (m_sides[0].frontierSize() == 0 || m_sides[1].frontierSize() == 0) {
        return m_sides[0].frontierSize() == 0 ? 1 : 0;
    }
    if (m_best == INT_MAX) {
        return m_sides[1].frontierSize() < m_sides[0].frontierSize() ? 1 : 0;
    }
    return m_sides[1].level < m_sides[0].level ? 1 : 0;
}

void Climb::run() {
    if (common(m_sides[0].climb.start())) {
        m_meetings.push_back(m_sides[0].climb.start());
        m_best = 0;
    }
    while (m_sides[0].frontierSize() != 0 || m_sides[1].frontierSize() != 0) {
        // A common ancestor not yet met lies above one side's settled level.
        const int unmetAtLeast = std::min(m_sides[0].settled(), m_sides[1].settled()) + 1;
        if (m_best != INT_MAX && unmetAtLeast > m_best + kExtraGenerations) {
            break;
        }
        climbOneLevel(nextSide());
    }
}

// Only the paths down from the common ancestors are asked about, so each
// step is decided once when first asked, from the bottom of its path up.
bool Climb::belowCommon(int sideIndex, std::int32_t person) {
    const Side& side = m_sides[static_cast<std::size_t>(sideIndex)];
    std::vector<std::int8_t>& below = m_below[static_cast<std::size_t>(sideIndex)];
    if (below.empty()) {
        below.assign(static_cast<std::size_t>(side.climb.levelEnd(side.level)), -1);
    }
    const auto known = [&](std::int32_t position) -> std::int8_t& { return below[static_cast<std::size_t>(position)]; };
    std::vector<std::int32_t> unknown;
    for (std::int32_t position = side.positionOf(person); known(position) < 0;) {
        const std::int32_t child = side.climb.at(position).via;
        if (child == kNone) {
            known(position) = 0;
            break;
        }
        unknown.push_back(position);
        position = child;
    }
    for (auto position = unknown.rbegin(); position != unknown.rend(); ++position) {
        const AncestryClimb::Step& step = side.climb.at(*position);
        known(*position) = nearerCommon(side.climb.at(step.via).person, step.person) || known(step.via) != 0;
    }
    return known(side.positionOf(person)) != 0;
}

std::vector<const CPerson*> Climb::pathDown(const Side& side, std::int32_t from) const {
    std::vector<const CPerson*> path;
    for (std::int32_t index = side.via(from); index != kNone; index = side.via(index)) {
        path.push_back(person(index));
    }
    return path;
}

BloodLine Climb::lineThrough(const std::vector<std::int32_t>& ancestors) const {
    BloodLine line;
    const std::int32_t top = ancestors.front();
    line.up = m_sides[0].depth(top);
    line.down = m_sides[1].depth(top);
    for (const std::int32_t index : ancestors) {
        line.ancestors.push_back(person(index));
    }
    if (line.ancestors.size() == 2 && line.ancestors[1]->m_cSex == 'M' && line.ancestors[0]->m_cSex != 'M') {
        std::swap(line.ancestors[0], line.ancestors[1]);
    }
    const std::int32_t viaFirst = m_sides[0].via(top);
    const std::int32_t viaSecond = m_sides[1].via(top);
    line.half = ancestors.size() == 1 && viaFirst != kNone && viaSecond != kNone &&
                person(viaFirst)->m_strParentFamily.view() != person(viaSecond)->m_strParentFamily.view();

    std::vector<const CPerson*> up = pathDown(m_sides[0], top);
    line.path.assign(up.rbegin(), up.rend());
    line.path.insert(line.path.end(), line.ancestors.begin(), line.ancestors.end());
    const std::vector<const CPerson*> down = pathDown(m_sides[1], top);
    line.path.insert(line.path.end(), down.begin(), down.end());
    return line;
}

std::vector<BloodLine> Climb::lines() {
    // The two parents of one child on both paths are one couple: one line.
    std::map<std::pair<std::int32_t, std::int32_t>, std::vector<std::int32_t>> couples;
    std::vector<std::pair<std::int32_t, std::int32_t>> found;
    for (const std::int32_t index : m_meetings) {
        if (generations(index) > m_best + kExtraGenerations || belowCommon(0, index) || belowCommon(1, index)) {
            continue;
        }
        const auto key = std::make_pair(m_sides[0].via(index), m_sides[1].via(index));
        auto& group = couples[key];
        if (group.empty()) {
            found.push_back(key);
        }
        group.push_back(index);
    }
    std::vector<BloodLine> result;
    result.reserve(found.size());
    for (const auto& key : found) {
        result.push_back(lineThrough(couples[key]));
    }
    std::stable_sort(result.begin(), result.end(), [](const BloodLine& x, const BloodLine& y) {
        return std::make_pair(x.up + x.down, x.up) < std::make_pair(y.up + y.down, y.up);
    });
    return result;
}

bool inDocument(const CStirpexDoc& doc, const CPerson& person) {
    return person.m_nIndex >= 0 && static_cast<std::size_t>(person.m_nIndex) < doc.m_ppPersons.size() &&
           doc.m_ppPersons[static_cast<std::size_t>(person.m_nIndex)].get() == &person;
}

} // namespace

// The climbs of the people searched from so far, each kept for the next search from them.
struct BloodLineSearch::Climbs {
    std::vector<std::unique_ptr<AncestryClimb>> started;

    AncestryClimb& of(const ParentTable& parents, std::int32_t person) {
        for (const auto& climb : started) {
            if (climb->start() == person) {
                return *climb;
            }
        }
        return *started.emplace_back(std::make_unique<AncestryClimb>(parents, person));
    }
};

BloodLineSearch::BloodLineSearch(const CStirpexDoc& doc) : m_doc(doc), m_climbs(std::make_unique<Climbs>()) {}

BloodLineSearch::~BloodLineSearch() = default;

std::vector<BloodLine> BloodLineSearch::find(const CPerson& first, const CPerson& second) {
    if (!inDocument(m_doc, first) || !inDocument(m_doc, second)) {
        return {};
    }
    if (&first == &second) {
        return {BloodLine{0, 0, false, {&first}, {}}};
    }
    const ParentTable& parents = m_doc.GetParentTable();
    Climb climb(m_doc, m_climbs->of(parents, first.m_nIndex), m_climbs->of(parents, second.m_nIndex));
    climb.run();
    return climb.lines();
}

std::vector<BloodLine> FindBloodLines(const CStirpexDoc& doc, const CPerson& first, const CPerson& second) {
    return BloodLineSearch(doc).find(first, second);
}

} // namespace stirpex
