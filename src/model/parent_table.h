#pragma once

// Each person's father and mother by position in the document's person
// table. A search over many generations (how two people are related) reads
// a person's parents at every step; through the keys that is three hash
// look-ups, here one read. Built from the keys exactly as GetFather and
// GetMother resolve them, once per document, on first use
// (CStirpexDoc::GetParentTable): the document must be fully read by then.

#include <array>
#include <cstdint>
#include <vector>

namespace stirpex {

class CStirpexDoc;

class ParentTable {
public:
    static constexpr std::int32_t kNone = -1;

    explicit ParentTable(const CStirpexDoc& doc);

    // Father first, then mother; kNone for one the file does not name.
    const std::array<std::int32_t, 2>& parentsOf(std::int32_t person) const noexcept {
        return m_parents[static_cast<std::size_t>(person)];
    }
    std::size_t size() const noexcept { return m_parents.size(); }

private:
    std::vector<std::array<std::int32_t, 2>> m_parents;
};

} // namespace stirpex
