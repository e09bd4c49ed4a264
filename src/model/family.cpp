#include "model/family.h"

#include "model/citations.h"

namespace stirpex {

void CFamily::AddChild(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrChildren, m_nChildren, key);
}

void CFamily::AddNote(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrNotes, m_nNotes, key);
}

void CFamily::AddObject(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrObjects, m_nObjects, key);
}

void CFamily::AddSource(TextArena& arena, ArenaStr key) {
    detail::addCitation(arena, m_arrSources, m_arrSourceTexts, m_nSources, key);
}

void CFamily::AppendSourceText(TextArena& arena, std::string_view text) {
    detail::appendCitationText(arena, m_arrSourceTexts, text);
}

void CFamily::AddDivorceSource(TextArena& arena, ArenaStr key) {
    detail::addCitation(arena, m_arrDivorceSources, m_arrDivorceSourceTexts, m_nDivorceSources, key);
}

void CFamily::AppendDivorceSourceText(TextArena& arena, std::string_view text) {
    detail::appendCitationText(arena, m_arrDivorceSourceTexts, text);
}

} // namespace stirpex
