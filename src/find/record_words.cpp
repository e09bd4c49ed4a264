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
WordsHeld<CNote> heldBy(const CNote& note, const SearchWords& words) {
    WordsHeld<CNote> held{&note};
    for (const ArenaStr& line : note.m_pLines) {
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
    return held;
}

WordsHeld<CSource> heldBy(const CSource& source, const SearchWords& words) {
    WordsHeld<CSource> held{&source};
    held.words = words.find(source.m_strTitle.view(), words.all(), &held.at);
    return held;
}

// Records that hold a word, as their keys name them: a record whose key a
// later record of its table takes over is never what a key names, so only
// those the document's map gives are kept; when no two records share a key,
// each is.
template <typename Record, typename Map>
std::vector<WordsHeld<Record>> holding(const std::vector<RecordPtr<Record>>& table, const Map& map,
                                       const SearchWords& words) {
    const bool unique = map.size() == table.size();
    std::vector<WordsHeld<Record>> found;
    for (const auto& record : table) {
        const WordsHeld<Record> held = heldBy(*record, words);
        if (held.words != 0 && (unique || map.find(record->m_strID.view()) == record.get())) {
            found.push_back(held);
        }
    }
    return found;
}

template <typename Record>
const WordsHeld<Record>* readOnDemand(std::vector<WordsHeld<Record>>& read, const Record* record,
                                      const SearchWords& words) {
    if (record == nullptr) {
        return nullptr;
    }
    WordsHeld<Record>& held = read[static_cast<std::size_t>(record->m_nIndex)];
    if (held.record == nullptr) {
        held = heldBy(*record, words);
    }
    return held.words != 0 ? &held : nullptr;
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

RecordWords::RecordWords(const CStirpexDoc& doc, const SearchWords& words, Reading reading)
    : m_doc(doc), m_words(words), m_reading(reading),
      m_notes(reading == Reading::Ahead ? holding(doc.m_ppNotes, doc.m_mapNotes, words)
                                        : std::vector<WordsHeld<CNote>>()),
      m_sources(reading == Reading::Ahead ? holding(doc.m_ppSources, doc.m_mapSources, words)
                                          : std::vector<WordsHeld<CSource>>()) {
    if (reading == Reading::OnDemand) {
        m_notesRead.resize(doc.m_ppNotes.size());
        m_sourcesRead.resize(doc.m_ppSources.size());
    }
}

const WordsHeld<CNote>* RecordWords::note(std::string_view key) {
    return m_reading == Reading::Ahead ? m_notes.find(key) : readOnDemand(m_notesRead, m_doc.FindNote(key), m_words);
}

const WordsHeld<CSource>* RecordWords::source(std::string_view key) {
    return m_reading == Reading::Ahead ? m_sources.find(key)
                                       : readOnDemand(m_sourcesRead, m_doc.FindSource(key), m_words);
}

} // namespace stirpex
