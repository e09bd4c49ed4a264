#include "trees/relationship_search.h"

#include "model/stirpex_doc.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

namespace stirpex {

namespace {

constexpr std::int32_t kNone = -1;

// Where one side's climb first reached a person: how many generations up, and
// from which child (the next person down towards where the side started).
struct Visit {
    std::int32_t depth = kNone;
    std::int32_t via = kNone;
    bool belowCommon = false; // the path down passes through another common ancestor
};

// One side's climb over visit records it borrows from the search and leaves
// as it found them, so that the searches of one question share one table.
struct Side {
    std::vector<Visit>& visits;
    std::vector<std::int32_t> order; // in the order reached, so children come before their parents
    std::vector<std::int32_t> frontier;
    int level = 0;

    Side(std::vector<Visit>& table, std::int32_t start) : visits(table) {
        visits[static_cast<std::size_t>(start)].depth = 0;
        order.push_back(start);
        frontier.push_back(start);
    }
    Side(const Side&) = delete;
    Side& operator=(const Side&) = delete;
    ~Side() {
        for (const std::int32_t index : order) {
            visits[static_cast<std::size_t>(index)] = Visit{};
        }
    }
    const Visit& at(std::int32_t person) const { return visits[static_cast<std::size_t>(person)]; }
    bool reached(std::int32_t person) const { return at(person).depth != kNone; }
    // The level below which every person of this side has been met; no more after an empty frontier.
    int settled() const noexcept { return frontier.empty() ? INT_MAX / 4 : level; }
};

class Climb {
public:
    Climb(const CStirpexDoc& doc, std::array<std::vector<Visit>, 2>& tables, std::int32_t first, std::int32_t second)
        : m_doc(doc), m_sides{Side(tables[0], first), Side(tables[1], second)} {}

    void run();
    std::vector<BloodLine> lines();

private:
    std::array<std::int32_t, 2> parentsOf(std::int32_t index) const;
    void climbOneLevel(int side);
    int nextSide() const;
    void markBelowCommon(Side& side);
    bool common(std::int32_t person) const { return m_sides[0].reached(person) && m_sides[1].reached(person); }
    int generations(std::int32_t person) const { return m_sides[0].at(person).depth + m_sides[1].at(person).depth; }
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
};

std::array<std::int32_t, 2> Climb::parentsOf(std::int32_t index) const {
    std::array<std::int32_t, 2> parents{kNone, kNone};
    const CFamily* family = m_doc.FindFamily(person(index)->m_strParentFamily.view());
    if (!family) {
        return parents;
    }
    if (const CPerson* father = m_doc.FindPerson(family->m_strHusband.view())) {
        parents[0] = father->m_nIndex;
    }
    if (const CPerson* mother = m_doc.FindPerson(family->m_strWife.view())) {
        parents[1] = mother->m_nIndex;
    }
    return parents;
}

void Climb::climbOneLevel(int sideIndex) {
    Side& side = m_sides[static_cast<std::size_t>(sideIndex)];
    const Side& other = m_sides[static_cast<std::size_t>(1 - sideIndex)];
    std::vector<std::int32_t> next;
    for (const std::int32_t child : side.frontier) {
        for (const std::int32_t parent : parentsOf(child)) {
            if (parent == kNone || side.reached(parent)) {
                continue;
            }
            side.visits[static_cast<std::size_t>(parent)] = Visit{side.level + 1, child, false};
            side.order.push_back(parent);
            next.push_back(parent);
            if (other.reached(parent)) {
                m_meetings.push_back(parent);
                m_best = std::min(m_best, side.level + 1 + other.at(parent).depth);
            }
        }
    }
    side.frontier = std::move(next);
    ++side.level;
}

// Before any meeting, the side with fewer people to climb from; after one, the
// lower side, as it holds back the bound on what is still unmet.
int Climb::nextSide() const {
    if (m_sides[0].frontier.empty() || m_sides[1].frontier.empty()) {
        return m_sides[0].frontier.empty() ? 1 : 0;
    }
    if (m_best == INT_MAX) {
        return m_sides[1].frontier.size() < m_sides[0].frontier.size() ? 1 : 0;
    }
    return m_sides[1].level < m_sides[0].level ? 1 : 0;
}

void Climb::run() {
    if (common(m_sides[0].order.front())) {
        m_meetings.push_back(m_sides[0].order.front());
        m_best = 0;
    }
    while (!m_sides[0].frontier.empty() || !m_sides[1].frontier.empty()) {
        // A common ancestor not yet met lies above one side's settled level.
        const int unmetAtLeast = std::min(m_sides[0].settled(), m_sides[1].settled()) + 1;
        if (m_best != INT_MAX && unmetAtLeast > m_best + kExtraGenerations) {
            break;
        }
        climbOneLevel(nextSide());
    }
}

void Climb::markBelowCommon(Side& side) {
    for (const std::int32_t index : side.order) {
        Visit& visit = side.visits[static_cast<std::size_t>(index)];
        if (visit.via != kNone) {
            visit.belowCommon = nearerCommon(visit.via, index) || side.at(visit.via).belowCommon;
        }
    }
}

std::vector<const CPerson*> Climb::pathDown(const Side& side, std::int32_t from) const {
    std::vector<const CPerson*> path;
    for (std::int32_t index = side.at(from).via; index != kNone; index = side.at(index).via) {
        path.push_back(person(index));
    }
    return path;
}

BloodLine Climb::lineThrough(const std::vector<std::int32_t>& ancestors) const {
    BloodLine line;
    const std::int32_t top = ancestors.front();
    line.up = m_sides[0].at(top).depth;
    line.down = m_sides[1].at(top).depth;
    for (const std::int32_t index : ancestors) {
        line.ancestors.push_back(person(index));
    }
    if (line.ancestors.size() == 2 && line.ancestors[1]->m_cSex == 'M' && line.ancestors[0]->m_cSex != 'M') {
        std::swap(line.ancestors[0], line.ancestors[1]);
    }
    const std::int32_t viaFirst = m_sides[0].at(top).via;
    const std::int32_t viaSecond = m_sides[1].at(top).via;
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
    markBelowCommon(m_sides[0]);
    markBelowCommon(m_sides[1]);
    // The two parents of one child on both paths are one couple: one line.
    std::map<std::pair<std::int32_t, std::int32_t>, std::vector<std::int32_t>> couples;
    std::vector<std::pair<std::int32_t, std::int32_t>> found;
    for (const std::int32_t index : m_meetings) {
        const Visit& onFirst = m_sides[0].at(index);
        const Visit& onSecond = m_sides[1].at(index);
        if (onFirst.belowCommon || onSecond.belowCommon || generations(index) > m_best + kExtraGenerations) {
            continue;
        }
        const auto key = std::make_pair(onFirst.via, onSecond.via);
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

struct BloodLineSearch::Tables {
    std::array<std::vector<Visit>, 2> visits;
};

BloodLineSearch::BloodLineSearch(const CStirpexDoc& doc) : m_doc(doc), m_tables(std::make_unique<Tables>()) {}

BloodLineSearch::~BloodLineSearch() = default;

std::vector<BloodLine> BloodLineSearch::find(const CPerson& first, const CPerson& second) {
    if (!inDocument(m_doc, first) || !inDocument(m_doc, second)) {
        return {};
    }
    if (&first == &second) {
        return {BloodLine{0, 0, false, {&first}, {}}};
    }
    for (std::vector<Visit>& table : m_tables->visits) {
        table.resize(m_doc.m_ppPersons.size());
    }
    Climb climb(m_doc, m_tables->visits, first.m_nIndex, second.m_nIndex);
    climb.run();
    return climb.lines();
}

std::vector<BloodLine> FindBloodLines(const CStirpexDoc& doc, const CPerson& first, const CPerson& second) {
    return BloodLineSearch(doc).find(first, second);
}

} // namespace stirpex
