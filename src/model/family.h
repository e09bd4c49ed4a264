#pragma once

// One family (FAM): husband, wife and children by key in the record;
// marriage, divorce and the rest in its details.

#include "model/fact.h"
#include "model/fact_kinds.h"
#include "model/text_arena.h"

#include <cstdint>

namespace stirpex {

// Facts (marriage and divorce among them), notes, citations and external
// references of a family; made in the document's arena on the first line
// that needs them.
struct FamilyDetails {
    ArenaStrList m_arrNotes;
    // The record's own citations; an event's are in its fact.
    ArenaStrList m_arrSources, m_arrSourceTexts;
    ArenaStrList m_arrObjects;
    FactList m_facts;
    // Lines under the record's own citations that no rule takes ("QUAY 3"),
    // as a fact keeps its lines: for the dump, not the page.
    ArenaStrList m_arrCitationLines;
    // The counts side by side, where alone each would take eight bytes.
    std::int32_t m_nNotes = 0;
    std::int32_t m_nSources = 0;
    std::int32_t m_nObjects = 0;
};

class CFamily {
public:
    CFamily() = default;
    CFamily(const CFamily&) = delete;
    CFamily& operator=(const CFamily&) = delete;
    virtual ~CFamily() = default;

    // The marriage or divorce as the page's fixed rows show it (model/fact_kinds.h).
    EventSummary Event(ClassicEvent event) const noexcept { return SummarizeEvent(Details().m_facts, event); }

    // Empty details for a family without any.
    const FamilyDetails& Details() const noexcept;
    // Made in the arena on first use; the arena must be the one the family's texts are in.
    FamilyDetails& EditDetails(TextArena& arena);

    void AddChild(TextArena& arena, ArenaStr key);
    void AddNote(TextArena& arena, ArenaStr key);
    void AddSource(TextArena& arena, ArenaStr key);
    void AppendSourceText(TextArena& arena, std::string_view text);
    void AddObject(TextArena& arena, ArenaStr key);

    std::int32_t m_nIndex = -1;
    std::int32_t m_nChildren = 0;
    ArenaStr m_strID;
    ArenaStr m_strHusband;
    ArenaStr m_strWife;
    ArenaStrList m_arrChildren;

private:
    ArenaPtr<FamilyDetails> m_pDetails;
};

} // namespace stirpex
