#include "gedcom/shared_texts.h"

#include "model/record_map.h"

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
    if (slot.hash != hash || slot.text.view() != text) {
        slot.hash = hash;
        slot.text = m_arena.copy(text);
    }
    return slot.text;
}

} // namespace stirpex
