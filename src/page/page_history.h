#pragma once

// The persons visited in one page window, for Back and Forward. Position 0 is
// never used, so the table holds at most 255 visits; when it is full the
// oldest one is dropped. Entries are person table positions (m_nIndex).

#include <array>
#include <cstdint>

namespace stirpex {

class PageHistory {
public:
    static constexpr int kMaxVisits = 255;

    // A new visit at the position after the current one; the visits after it, left by Back, are gone.
    void RecordVisit(std::int32_t personIndex) noexcept;

    bool CanBack() const noexcept { return m_nHistPos > 1; }
    bool CanForward() const noexcept { return m_nHistPos != m_nHistTop; }
    // Move one visit back (forward) and give the person index there.
    std::int32_t Back() noexcept { return m_pHistory[static_cast<std::size_t>(--m_nHistPos)]; }
    std::int32_t Forward() noexcept { return m_pHistory[static_cast<std::size_t>(++m_nHistPos)]; }

    int position() const noexcept { return m_nHistPos; }
    int top() const noexcept { return m_nHistTop; }

private:
    std::array<std::int32_t, kMaxVisits + 1> m_pHistory{};
    int m_nHistPos = 0;
    int m_nHistTop = 0;
};

} // namespace stirpex
