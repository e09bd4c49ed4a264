#pragma once

// Key to record, one per document table, over the table it indexes. Insert
// replaces an earlier record with the same key (both stay in the table); the
// map does not own the records. Open addressing in 8-byte slots: a 32-bit tag
// of the key's hash, which also picks the first slot to probe, and the
// record's position in the table plus one (0 for an empty slot). A probe
// touches a record only when the tags agree, and growing never touches one:
// on a million-record file that is one cache miss per lookup, and the map
// costs 9 to 18 bytes a record.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace stirpex {

namespace detail {
std::uint64_t hashKey(std::string_view key) noexcept;
}

template <typename Table> class RecordMap {
public:
    using Record = typename Table::value_type::element_type;

    explicit RecordMap(const Table& table) noexcept : m_table(table) {}

    // The record must be in the table at its m_nIndex.
    void insert(const Record& record) {
        if ((m_used + 1) * 8 > m_slots.size() * 7) {
            grow(m_slots.empty() ? 1024 : m_slots.size() * 2);
        }
        enter(record, tagOf(record.m_strID.view()));
        m_entered = std::max(m_entered, static_cast<std::size_t>(record.m_nIndex) + 1);
    }

    Record* find(std::string_view key) const noexcept {
        if (m_slots.empty()) {
            return nullptr;
        }
        const Slot& slot = m_slots[findSlot(key, tagOf(key))];
        return slot.position ? m_table[slot.position - 1].get() : nullptr;
    }

    std::size_t size() const noexcept { return m_used; }

    // Enters the records the table gained since the last call (at first:
    // all of them) in order, a later key replacing an earlier one; the map
    // is sized once for them. The slot of a record a few places ahead is
    // fetched while the current one is entered, which hides most of the
    // cache misses that dominate filling a large map.
    void insertRest() {
        const std::size_t first = m_entered;
        if (first >= m_table.size()) {
            return;
        }
        const std::size_t adding = m_table.size() - first;
        std::size_t slotCount = m_slots.empty() ? 1024 : m_slots.size();
        while ((m_used + adding + 1) * 8 > slotCount * 7) {
            slotCount *= 2;
        }
        if (slotCount != m_slots.size()) {
            grow(slotCount);
        }
        std::vector<std::uint32_t> tags(adding);
        for (std::size_t i = 0; i < adding; ++i) {
            tags[i] = tagOf(m_table[first + i]->m_strID.view());
        }
        constexpr std::size_t kAhead = 8;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = 0; i < adding; ++i) {
            if (i + kAhead < adding) {
                __builtin_prefetch(&m_slots[tags[i + kAhead] & mask]);
            }
            enter(*m_table[first + i], tags[i]);
        }
        m_entered = m_table.size();
    }

private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t position = 0;
    };

    static std::uint32_t tagOf(std::string_view key) noexcept {
        return static_cast<std::uint32_t>(detail::hashKey(key));
    }

    void enter(const Record& record, std::uint32_t tag) noexcept {
        Slot& slot = m_slots[findSlot(record.m_strID.view(), tag)];
        if (!slot.position) {
            ++m_used;
        }
        slot = Slot{tag, static_cast<std::uint32_t>(record.m_nIndex) + 1};
    }

    std::size_t findSlot(std::string_view key, std::uint32_t tag) const noexcept {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = tag & mask;; i = (i + 1) & mask) {
            const Slot& slot = m_slots[i];
            if (!slot.position || (slot.tag == tag && m_table[slot.position - 1]->m_strID.view() == key)) {
                return i;
            }
        }
    }

    void grow(std::size_t slotCount) {
        std::vector<Slot> old(slotCount);
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot& slot : old) {
            if (slot.position) {
                std::size_t i = slot.tag & mask;
                while (m_slots[i].position) {
                    i = (i + 1) & mask;
                }
                m_slots[i] = slot;
            }
        }
    }

    const Table& m_table;
    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
    std::size_t m_entered = 0; // the table's first records, entered by insert or insertRest
};

} // namespace stirpex
