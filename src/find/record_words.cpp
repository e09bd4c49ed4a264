#include "find/record_words.h"

#include "model/record_map.h"
#include "model/stirpex_doc.h"

namespace stirpex {

namespace {

std::uint32_t tagOf(std::string_view key) noexcept {
    return static_cast<std::uint32_t>(detail::hashKey(key));
}

} // namespace

template <typename Record> void RecordWords::Table<Record>::add(const WordsHeld<Record>& held) {
    if ((m_used + 1) * 2 > m_slots.size()) {
        std::vector<Slot> old(m_slots.empty() ? 64 : m_slots.size() * 2);
        old.swap(m_slots);
        m_used = 0;
        for (const Slot& slot : old) {
            if (slot.held.record != nullptr) {
                add(slot.held);
            }
        }
    }
    const std::string_view key = held.record->m_strID.view();
    const std::uint32_t tag = tagOf(key);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = tag & mask;
    while (m_slots[i].held.record != nullptr) {
        i = (i + 1) & mask;
    }
    m_slots[i] = Slot{key, tag, held};
    ++m_used;
}

template <typename Record>
const WordsHeld<Record>* RecordWords::Table<Record>::find(std::string_view key) const noexcept {
    if (m_used == 0) {
        return nullptr;
    }
    const std::uint32_t tag = tagOf(key);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = tag & mask; m_slots[i].held.record != nullptr; i = (i + 1) & mask) {
        if (m_slots[i].tag == tag && m_slots[i].key == key) {
            return &m_slots[i].held;
        }
    }
    return nullptr;
}

template class RecordWords::Table<CNote>;
template class RecordWords::Table<CSource>;

// A record whose key a later record of its table takes over is never what a
// key names, so only those FindNote and FindSource give are kept; when no two
// records share a key, each is.
RecordWords::RecordWords(const CStirpexDoc& doc, const SearchWords& words) {
    const bool notesUnique = doc.m_mapNotes.size() == doc.m_ppNotes.size();
    for (const auto& note : doc.m_ppNotes) {
        WordsHeld<CNote> held{note.get()};
        for (const ArenaStr& line : note->m_pLines) {
            std::size_t at = 0;
            const WordSet found = words.find(line.view(), words.all() & ~held.words, held.words == 0 ? &at : nullptr);
            if (found != 0 && held.words == 0) {
                held.at = at;
            } else if (held.words == 0) {
                ++held.line;
            }
            held.words |= found;
            if (held.words == words.all()) {
                break;
            }
        }
        if (held.words != 0 && (notesUnique || doc.FindNote(note->m_strID.view()) == note.get())) {
            m_notes.add(held);
        }
    }
    const bool sourcesUnique = doc.m_mapSources.size() == doc.m_ppSources.size();
    for (const auto& source : doc.m_ppSources) {
        WordsHeld<CSource> held{source.get()};
        held.words = words.find(source->m_strTitle.view(), words.all(), &held.at);
        if (held.words != 0 && (sourcesUnique || doc.FindSource(source->m_strID.view()) == source.get())) {
            m_sources.add(held);
        }
    }
}

} // namespace stirpex
