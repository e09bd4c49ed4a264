#pragma once

// The parallel key and text lists of source citations, shared by the records
// that cite: a citation starts with an empty text, and later PAGE and TEXT
// values are glued to the last one without a separator.

#include "model/text_arena.h"

namespace stirpex::detail {

inline void addCitation(TextArena& arena, ArenaStrList& keys, ArenaStrList& texts, int& count, ArenaStr key) {
    keys.append(arena, key);
    texts.append(arena, ArenaStr());
    ++count;
}

inline void appendCitationText(TextArena& arena, ArenaStrList& texts, std::string_view text) {
    if (texts.empty() || text.empty()) {
        return;
    }
    ArenaStr& last = texts.last();
    last = arena.append(last, text);
}

inline void addKey(TextArena& arena, ArenaStrList& list, int& count, ArenaStr key) {
    list.append(arena, key);
    ++count;
}

} // namespace stirpex::detail
