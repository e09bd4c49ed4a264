#include "model/source.h"

#include "model/citations.h"

namespace stirpex {

void CSource::AddNote(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrNotes, m_nNotes, key);
}

void CSource::AddObject(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrObjects, m_nObjects, key);
}

void CSource::AddTextLine(TextArena& arena, ArenaStr text) {
    detail::addKey(arena, m_arrText, m_nTextLines, text);
}

} // namespace stirpex
