#include "gedcom/shared_texts.h"

#include "model/record_map.h"

#include <cstring>

namespace stirpex {

ArenaStr SharedTexts::store(std::string_view text) {
    if (text.empty() || text.size() > kLongestShared) {
        return m_arena.copy(text);
    }
    if (!m_slots) {
        m_slots = std::make_unique<Slot[]>(kSlots);
    }
    const std::uint64_t hash = detail::hashKey(text);
    Slot& slot = m_slots[hash & (kSlots - 1)];
    // The slot's own copy of the bytes decides, so that a hit never reaches into the arena.
    if (slot.hash != hash || slot.length != text.size() || std::memcmp(slot.bytes, text.data(), text.size()) != 0) {
        slot.hash = hash;
        slot.text = m_arena.copy(text);
        slot.length = static_cast<std::uint8_t>(text.size());
        std::memcpy(slot.bytes, text.data(), text.size());
    }
    return slot.text;
}

} // namespace stirpex
