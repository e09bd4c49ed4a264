#include "find/record_words.h"

#include "model/record_map.h"
#include "model/stirpex_doc.h"

#include <utility>

namespace stirpex {

namespace {

std::uint32_t tagOf(std::string_view key) noexcept {
    return static_cast<std::uint32_t>(detail::hashKey(key));
}

// A record whose key a later record of its table takes over is never what a
// key names, so only those FindNote and FindSource give are kept; when no two
// records share a key, each is.
std::vector<WordsHeld<CNote>> notesHolding(const CStirpexDoc& doc, const SearchWords& words) {
    const bool unique = doc.m_mapNotes.size() == doc.m_ppNotes.size();
    std::vector<WordsHeld<CNote>> holding;
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
        if (held.words != 0 && (unique || doc.FindNote(note->m_strID.view()) == note.get())) {
            holding.push_back(held);
        }
    }
    return holding;
}

std::vector<WordsHeld<CSource>> sourcesHolding(const CStirpexDoc& doc, const SearchWords& words) {
    const bool unique = doc.m_mapSources.size() == doc.m_ppSources.size();
    std::vector<WordsHeld<CSource>> holding;
    for (const auto& source : doc.m_ppSources) {
        WordsHeld<CSource> held{source.get()};
        held.words = words.find(source->m_strTitle.view(), words.all(), &held.at);
        if (held.words != 0 && (unique || doc.FindSource(source->m_strID.view()) == source.get())) {
            holding.push_back(held);
        }
    }
    return holding;
}

} // namespace

template <typename Record>
RecordWords::Table<Record>::Table(std::vector<WordsHeld<Record>> held) : m_held(std::move(held)) {
    std::size_t slots = 64;
    while (slots < 2 * m_held.size()) {
        slots *= 2;
    }
    m_slots.resize(slots);
    const std::size_t mask = slots - 1;
    for (std::size_t h = 0; h < m_held.size(); ++h) {
        const std::string_view key = m_held[h].record->m_strID.view();
        const std::uint32_t tag = tagOf(key);
        std::size_t i = tag & mask;
        while (m_slots[i].key != nullptr) {
            i = (i + 1) & mask;
        }
        m_slots[i] = Slot{key.data() ? key.data() : "", static_cast<std::uint32_t>(key.size()), tag,
                          static_cast<std::uint32_t>(h)};
    }
}

template <typename Record>
const WordsHeld<Record>* RecordWords::Table<Record>::find(std::string_view key) const noexcept {
    if (m_held.empty()) {
        return nullptr;
    }
    const std::uint32_t tag = tagOf(key);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = tag & mask; m_slots[i].key != nullptr; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.tag == tag && slot.size == key.size() &&
            (slot.key == key.data() || std::string_view(slot.key, slot.size) == key)) {
            return &m_held[slot.held];
        }
    }
    return nullptr;
}

template class RecordWords::Table<CNote>;
template class RecordWords::Table<CSource>;

RecordWords::RecordWords(const CStirpexDoc& doc, const SearchWords& words)
    : m_notes(notesHolding(doc, words)), m_sources(sourcesHolding(doc, words)) {}

} // namespace stirpex
