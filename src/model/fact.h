#pragma once

// One event or attribute of a person or family, or any other structure of
// their records, as the file wrote it: nothing of an individual or family
// record is dropped. Facts live in the document's arena in file order, linked
// one to the next; what most events lack (a type, an address, notes,
// citations, lines the reader does not understand) is in their details,
// made on the first line that needs them, so that a birth with a date and a
// place costs a few pointers.

#include "model/text_arena.h"

#include <cstdint>
#include <string_view>

namespace stirpex {

// Kept small, as one in three facts of a large file has details: the
// particulars a reader is shown beside the date (AGE, CAUS, AGNC) are lines
// like any other, found by their tag (FactParticular), and a TIME is part of
// the date.
struct FactDetails {
    int notes() const noexcept { return m_arrNotes.size(); }
    int sources() const noexcept { return m_arrSources.size(); }
    int objects() const noexcept { return m_arrObjects.size(); }

    ArenaStr m_strType;        // TYPE (an association's RELA or ROLE); the label of EVEN and FACT
    ArenaStrList m_arrAddress; // ADDR with its CONT lines, then the parts those lines lack
    ArenaStrList m_arrNotes;
    ArenaStrList m_arrSources, m_arrSourceTexts;
    ArenaStrList m_arrObjects;
    // Lines under the fact that no field above holds, as "TAG value", each
    // level below the first indented by two more blanks.
    ArenaStrList m_arrLines;
    // Lines under its citations that no rule takes, in the same form: kept
    // for the dump, not shown on the page.
    ArenaStrList m_arrCitationLines;
};

struct Fact {
    // Empty details for a fact without any.
    const FactDetails& Details() const noexcept;
    FactDetails& EditDetails(TextArena& arena);

    ArenaStr m_strTag; // as written: "BIRT", "OCCU", "_MILT"
    ArenaStr m_strValue;
    ArenaStr m_strDate; // as the page shows dates (model/readable_date.h), then its TIME
    ArenaStr m_strPlace;
    ArenaPtr<FactDetails> m_pDetails;
};

// The value of the first line of a fact's own lines with this tag ("AGE",
// "CAUS", "AGNC"), or empty.
std::string_view FactParticular(const Fact& fact, std::string_view tag) noexcept;

// The facts of one record in file order, side by side in one block of the
// arena: the reader gathers a record's facts and stores them when the record
// ends, so that a fact costs no link to the next and the block no slack.
class FactList {
public:
    // The facts, copied into the arena; for a list that has none yet.
    void assign(TextArena& arena, const Fact* facts, std::int32_t count);
    // A new fact with this tag at the end. Earlier facts may move: for a
    // list built fact by fact, as tests do; the reader gathers and assigns.
    Fact& append(TextArena& arena, ArenaStr tag);

    const Fact* begin() const noexcept { return m_pFacts.get(); }
    const Fact* end() const noexcept { return m_pFacts.get() + m_nFacts; }
    std::int32_t size() const noexcept { return m_nFacts; }
    bool empty() const noexcept { return m_nFacts == 0; }
    // The fact at `position` in file order, or null: a link keeps a fact by its position.
    const Fact* at(std::int32_t position) const noexcept {
        return position >= 0 && position < m_nFacts ? m_pFacts.get() + position : nullptr;
    }

private:
    ArenaPtr<Fact> m_pFacts;
    std::int32_t m_nFacts = 0;
};

} // namespace stirpex
