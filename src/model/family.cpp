#include "model/family.h"

#include "model/citations.h"

namespace stirpex {

namespace {
const FamilyDetails kNoDetails;
} // namespace

const FamilyDetails& CFamily::Details() const noexcept {
    return m_pDetails ? *m_pDetails : kNoDetails;
}

FamilyDetails& CFamily::EditDetails(TextArena& arena) {
    if (!m_pDetails) {
        m_pDetails = &arena.make<FamilyDetails>();
    }
    return *m_pDetails;
}

void CFamily::AddChild(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrChildren, m_nChildren, key);
}

void CFamily::AddNote(TextArena& arena, ArenaStr key) {
    FamilyDetails& details = EditDetails(arena);
    detail::addKey(arena, details.m_arrNotes, details.m_nNotes, key);
}

void CFamily::AddObject(TextArena& arena, ArenaStr key) {
    FamilyDetails& details = EditDetails(arena);
    detail::addKey(arena, details.m_arrObjects, details.m_nObjects, key);
}

void CFamily::AddSource(TextArena& arena, ArenaStr key) {
    FamilyDetails& details = EditDetails(arena);
    detail::addCitation(arena, details.m_arrSources, details.m_arrSourceTexts, details.m_nSources, key);
}

void CFamily::AppendSourceText(TextArena& arena, std::string_view text) {
    if (m_pDetails) {
        detail::appendCitationText(arena, m_pDetails->m_arrSourceTexts, text);
    }
}

} // namespace stirpex
