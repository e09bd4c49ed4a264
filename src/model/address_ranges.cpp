#include "model/address_ranges.h"

#include <iterator>
#include <new>

namespace stirpex {

std::size_t AddressRanges::take(std::size_t bytes) {
    for (auto it = m_free.begin(); it != m_free.end(); ++it) {
        if (it->second >= bytes) {
            const std::size_t offset = it->first;
            const std::size_t rest = it->second - bytes;
            m_free.erase(it);
            if (rest > 0) {
                m_free.emplace(offset + bytes, rest);
            }
            m_taken += bytes;
            return offset;
        }
    }
    if (bytes > m_limit - m_top) {
        throw std::bad_alloc();
    }
    const std::size_t offset = m_top;
    m_top += bytes;
    m_taken += bytes;
    return offset;
}

void AddressRanges::give(std::size_t offset, std::size_t bytes) noexcept {
    m_taken -= bytes;
    auto next = m_free.lower_bound(offset);
    if (next != m_free.end() && offset + bytes == next->first) {
        bytes += next->second;
        next = m_free.erase(next);
    }
    if (next != m_free.begin()) {
        const auto before = std::prev(next);
        if (before->first + before->second == offset) {
            offset = before->first;
            bytes += before->second;
            m_free.erase(before);
        }
    }
    if (offset + bytes == m_top) {
        m_top = offset;
        return;
    }
    try {
        m_free.emplace(offset, bytes);
    } catch (const std::bad_alloc&) {
    }
}

} // namespace stirpex
