#pragma once

// One individual (INDI). Filled once by the reader; every text is model text
// (UTF-8) kept in the owning document's arena. Each list has its count beside it.
// The fields every view of a lineage reads (key, name, sex, years, family
// links) are in the record; the rest is in its details.

#include "model/date_year.h"
#include "model/fact.h"
#include "model/fact_kinds.h"
#include "model/text_arena.h"

#include <cstdint>
#include <string>

namespace stirpex {

// What many people of a large file lack: facts (the life events among
// them), further names, notes, citations and external references. It lives
// in the document's arena and is made on the first line that needs it, so
// that a person of a bare lineage (a name and two family links) costs a
// tenth of what a full record would.
struct PersonDetails {
    ArenaStrList m_arrAltSurnames;
    ArenaStrList m_arrAltGivenNames;
    // "c", "<" or ">" of the birth and death dates the life span shows.
    ArenaStr m_strBirthQualifier;
    ArenaStr m_strDeathQualifier;
    ArenaStrList m_arrNotes;
    // The record's own citations; an event's are in its fact.
    ArenaStrList m_arrSources, m_arrSourceTexts;
    ArenaStrList m_arrObjects;
    FactList m_facts;
    // Lines under the record's own citations that no rule takes ("QUAY 3"),
    // as a fact keeps its lines: for the dump, not the page.
    ArenaStrList m_arrCitationLines;
    // The counts side by side: each alone between two pointers would take
    // eight bytes, on every person of a file of millions.
    std::int32_t m_nAltNames = 0;
    std::int32_t m_nNotes = 0;
    std::int32_t m_nSources = 0;
    std::int32_t m_nObjects = 0;
};
static_assert(sizeof(PersonDetails) <= 13 * sizeof(void*));

class CPerson {
public:
    CPerson() = default;
    CPerson(const CPerson&) = delete;
    CPerson& operator=(const CPerson&) = delete;
    virtual ~CPerson() = default;

    // Style 0 "Given Surname", 1 "Surname, Given", any other adds the life span.
    std::string FormatName(int style) const;
    std::string GetDisplayName() const { return FormatName(2); }
    std::string FormatAltName(int i, int style) const;
    std::string GetAltDisplayName(int i) const { return FormatAltName(i, 2); }
    // " (" qualifier year "-" qualifier year ")", "?" for an unknown year, "44 BC" for one before the common era.
    std::string GetLifeSpan() const;

    // A life event as the page's fixed rows show it (model/fact_kinds.h).
    EventSummary Event(ClassicEvent event) const noexcept { return SummarizeEvent(Details().m_facts, event); }

    // Empty details (all texts empty, all counts 0) for a person without any.
    const PersonDetails& Details() const noexcept;
    // Made in the arena on first use; the arena must be the one the person's texts are in.
    PersonDetails& EditDetails(TextArena& arena);

    void AddAltName(TextArena& arena, ArenaStr surname, ArenaStr givenNames);
    void AddSpouseFamily(TextArena& arena, ArenaStr key);
    void AddNote(TextArena& arena, ArenaStr key);
    void AddSource(TextArena& arena, ArenaStr key);
    void AppendSourceText(TextArena& arena, std::string_view text);
    void AddObject(TextArena& arena, ArenaStr key);

    std::int32_t m_nIndex = -1;
    char32_t m_cSex = 0; // first character of the SEX value, 0 when none
    ArenaStr m_strID;
    ArenaStr m_strSurname;
    ArenaStr m_strGivenNames;
    std::int32_t m_nBirthYear = kNoYear; // model/date_year.h: negative before the common era
    std::int32_t m_nDeathYear = kNoYear;
    ArenaStr m_strParentFamily;
    ArenaStrList m_arrSpouseFamilies;
    std::int32_t m_nSpouseFamilies = 0;

private:
    std::string formatParts(std::string_view surname, std::string_view givenNames, int style) const;

    ArenaPtr<PersonDetails> m_pDetails;
};

} // namespace stirpex
