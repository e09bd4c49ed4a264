#pragma once

// Key to record, one per document table. Insert replaces an earlier record
// with the same key (both stay in the table); the map does not own the
// records. Open addressing with the key's hash kept beside the pointer, so a
// probe touches a record only when the hashes agree: on a million-record file
// this is one cache miss per lookup instead of a node walk.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace stirpex {

namespace detail {
std::uint64_t hashKey(std::string_view key) noexcept;
}

template <typename Record> class RecordMap {
public:
    void insert(Record* record) {
        if ((m_used + 1) * 8 > m_slots.size() * 7) {
            grow(m_slots.empty() ? 1024 : m_slots.size() * 2);
        }
        const std::uint64_t hash = detail::hashKey(record->m_strID.view());
        Slot& slot = findSlot(record->m_strID.view(), hash);
        if (!slot.record) {
            ++m_used;
        }
        slot = Slot{hash, record};
    }

    Record* find(std::string_view key) const noexcept {
        if (m_slots.empty()) {
            return nullptr;
        }
        return const_cast<RecordMap*>(this)->findSlot(key, detail::hashKey(key)).record;
    }

    std::size_t size() const noexcept { return m_used; }

    // Enters every record of a table in order (a later key replaces an
    // earlier one), sized once. The slot of a record a few places ahead is
    // fetched while the current one is entered, which hides most of the
    // cache misses that dominate filling a large map.
    template <typename Table> void insertAll(const Table& table) {
        std::size_t slotCount = m_slots.empty() ? 1024 : m_slots.size();
        while ((m_used + table.size() + 1) * 8 > slotCount * 7) {
            slotCount *= 2;
        }
        if (slotCount != m_slots.size()) {
            grow(slotCount);
        }
        std::vector<std::uint64_t> hashes(table.size());
        for (std::size_t i = 0; i < table.size(); ++i) {
            hashes[i] = detail::hashKey(table[i]->m_strID.view());
        }
        constexpr std::size_t kAhead = 8;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (i + kAhead < table.size()) {
                __builtin_prefetch(&m_slots[hashes[i + kAhead] & mask]);
            }
            Slot& slot = findSlot(table[i]->m_strID.view(), hashes[i]);
            if (!slot.record) {
                ++m_used;
            }
            slot = Slot{hashes[i], table[i].get()};
        }
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        Record* record = nullptr;
    };

    Slot& findSlot(std::string_view key, std::uint64_t hash) noexcept {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!slot.record || (slot.hash == hash && slot.record->m_strID.view() == key)) {
                return slot;
            }
        }
    }

    void grow(std::size_t slotCount) {
        std::vector<Slot> old(slotCount);
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot& slot : old) {
            if (slot.record) {
                std::size_t i = slot.hash & mask;
                while (m_slots[i].record) {
                    i = (i + 1) & mask;
                }
                m_slots[i] = slot;
            }
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
};

} // namespace stirpex
