#include "trees/ancestry_climb.h"

#include <algorithm>
#include <new>

namespace stirpex {

AncestryClimb::AncestryClimb(const ParentTable& parents, std::int32_t start)
    : m_parents(parents), m_positions(static_cast<std::int32_t*>(
                              std::calloc(std::max<std::size_t>(parents.size(), 1), sizeof(std::int32_t)))) {
    if (!m_positions) {
        throw std::bad_alloc();
    }
    m_positions[static_cast<std::size_t>(start)] = 1;
    m_steps.push_back({start, kNone, 0});
    m_levelEnd.push_back(1);
}

void AncestryClimb::climbTo(int level) {
    while (levelsClimbed() < level) {
        const int below = levelsClimbed();
        const std::int32_t end = levelEnd(below);
        for (std::int32_t child = levelBegin(below); child < end; ++child) {
            for (const std::int32_t parent : m_parents.parentsOf(m_steps[static_cast<std::size_t>(child)].person)) {
                if (parent == ParentTable::kNone || m_positions[static_cast<std::size_t>(parent)] != 0) {
                    continue;
                }
                m_steps.push_back({parent, child, below + 1});
                m_positions[static_cast<std::size_t>(parent)] = static_cast<std::int32_t>(m_steps.size());
            }
        }
        m_levelEnd.push_back(static_cast<std::int32_t>(m_steps.size()));
    }
}

} // namespace stirpex
