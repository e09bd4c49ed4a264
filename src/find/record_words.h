#pragma once

// Which of a search's words each note and each source title of a document
// holds, each record read once however many people name it.
//
// When every person's notes are to be read, the records are read ahead, in
// table order, before the people are, and found again by the keys the people
// and their facts give. Only the records that hold a word are kept, in a table
// of their own: a key that names none of them costs a probe of that small
// table, not a look-up in the document's maps, and when no note (source)
// holds a word their keys are not looked at. When other criteria leave few
// people to read, reading all records ahead would cost more than it saves:
// each is then read when a key first names it.

#include "find/search_words.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace stirpex {

class CNote;
class CSource;
class CStirpexDoc;

// What a note or source holds of the words: which of them, and where the
// first of them is (for a note, the first line that holds any).
template <typename Record> struct WordsHeld {
    const Record* record = nullptr;
    WordSet words = 0;
    std::int32_t line = 0;
    std::size_t at = 0; // folded position in that line (the title), as SearchWords::find gives it
};

class RecordWords {
public:
    enum class Reading { Ahead, OnDemand };

    RecordWords(const CStirpexDoc& doc, const SearchWords& words, Reading reading);

    // The note with this key as the document's FindNote resolves it, when it
    // holds any of the words; null otherwise.
    const WordsHeld<CNote>* note(std::string_view key);
    // The source with this key when its title holds any of the words.
    const WordsHeld<CSource>* source(std::string_view key);

private:
    // Open addressing, at most half full, by a tag of the key's hash; made
    // once its records are known. The key is kept beside the tag: a note
    // written under a person has the very key the person names it by, which
    // then compares by its address.
    template <typename Record> class Table {
    public:
        explicit Table(std::vector<WordsHeld<Record>> held);
        const WordsHeld<Record>* find(std::string_view key) const noexcept;

    private:
        struct Slot {
            const char* key = nullptr; // null for an empty slot
            std::uint32_t size = 0;
            std::uint32_t tag = 0;
            std::uint32_t held = 0;
        };
        std::vector<WordsHeld<Record>> m_held;
        std::vector<Slot> m_slots;
    };
    const CStirpexDoc& m_doc;
    const SearchWords& m_words;
    const Reading m_reading;
    Table<CNote> m_notes;
    Table<CSource> m_sources;
    // Read on demand, by record index; a null record for one not read yet.
    std::vector<WordsHeld<CNote>> m_notesRead;
    std::vector<WordsHeld<CSource>> m_sourcesRead;
};

} // namespace stirpex
