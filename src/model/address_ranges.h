#pragma once

// The ranges of one stretch of addresses, [first, limit), that are not given
// out: given out from the lowest range that is large enough, given back
// joined with their free neighbours, so that the stretch never splinters
// into pieces too small for the chunks asked of it. Offsets only: it owns no
// memory, and the caller keeps it from being used by two threads at once.

#include <cstddef>
#include <map>

namespace stirpex {

class AddressRanges {
public:
    AddressRanges(std::size_t first, std::size_t limit) noexcept : m_top(first), m_limit(limit) {}

    // The offset of `bytes` free bytes; std::bad_alloc when no range has them.
    std::size_t take(std::size_t bytes);
    // Gives back `bytes` at `offset`, as taken. Should the range's record
    // find no memory, the range is never taken again rather than lost track of.
    void give(std::size_t offset, std::size_t bytes) noexcept;

    std::size_t taken() const noexcept { return m_taken; }

private:
    // Ranges given back, by their offset; everything from m_top on is free too.
    std::map<std::size_t, std::size_t> m_free;
    std::size_t m_top;
    std::size_t m_limit;
    std::size_t m_taken = 0;
};

} // namespace stirpex
