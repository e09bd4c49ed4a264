#include "page/page_history.h"

#include <algorithm>

namespace stirpex {

void PageHistory::RecordVisit(std::int32_t personIndex) noexcept {
    if (m_nHistPos == kMaxVisits) {
        std::copy(m_pHistory.begin() + 2, m_pHistory.end(), m_pHistory.begin() + 1);
        m_nHistPos = kMaxVisits - 1;
    }
    ++m_nHistPos;
    m_pHistory[static_cast<std::size_t>(m_nHistPos)] = personIndex;
    m_nHistTop = m_nHistPos;
}

} // namespace stirpex
