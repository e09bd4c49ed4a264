#pragma once

// One person's ancestors met breadth-first, a generation at a time and only
// as far as asked. A question about two people searches several times from
// the same person (A with B, then each spouse with B and A with each spouse
// of B, for relationships by marriage); the climb of each is kept and
// extended, never repeated.
//
// Each ancestor is met once, at the fewest generations, from the first child
// of the generation below that leads to them: the generation's people in the
// order they were met, father before mother. So someone their own ancestor
// (a loop in the data) is not met twice, and the climb ends.
//
// People are numbered by their position in the climb, generation after
// generation: the people within `level` generations are the positions below
// levelEnd(level).

#include "model/parent_table.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace stirpex {

class AncestryClimb {
public:
    static constexpr std::int32_t kNone = -1;

    struct Step {
        std::int32_t person;
        std::int32_t via; // position of the child the person was met from; kNone for the start
        std::int32_t depth;
    };

    AncestryClimb(const ParentTable& parents, std::int32_t start);

    // Meets the generations up to `level` (nobody is met above the top of the ancestry).
    void climbTo(int level);
    int levelsClimbed() const noexcept { return static_cast<int>(m_levelEnd.size()) - 1; }

    // For a level climbed to: the positions of its people are levelBegin(level) to levelEnd(level) - 1.
    std::int32_t levelBegin(int level) const noexcept {
        return level == 0 ? 0 : m_levelEnd[static_cast<std::size_t>(level - 1)];
    }
    std::int32_t levelEnd(int level) const noexcept { return m_levelEnd[static_cast<std::size_t>(level)]; }

    // The person's position, kNone for one not met so far.
    std::int32_t positionOf(std::int32_t person) const noexcept {
        return m_positions[static_cast<std::size_t>(person)] - 1;
    }
    const Step& at(std::int32_t position) const noexcept { return m_steps[static_cast<std::size_t>(position)]; }
    std::int32_t start() const noexcept { return m_steps.front().person; }

private:
    struct Free {
        void operator()(std::int32_t* p) const noexcept { std::free(p); }
    };

    const ParentTable& m_parents;
    // Position plus one, by person; 0 for one not met. Zeroed by the system
    // page by page as the climb touches it, not all at once: most climbs
    // meet a few people of a large file.
    std::unique_ptr<std::int32_t[], Free> m_positions;
    std::vector<Step> m_steps;
    std::vector<std::int32_t> m_levelEnd;
};

} // namespace stirpex
