#pragma once

// One family (FAM): husband, wife, children by key, marriage and divorce.

#include "model/text_arena.h"

#include <cstdint>

namespace stirpex {

class CFamily {
public:
    CFamily() = default;
    CFamily(const CFamily&) = delete;
    CFamily& operator=(const CFamily&) = delete;
    virtual ~CFamily() = default;

    void AddChild(TextArena& arena, ArenaStr key);
    void AddNote(TextArena& arena, ArenaStr key);
    void AddSource(TextArena& arena, ArenaStr key);
    void AppendSourceText(TextArena& arena, std::string_view text);
    void AddDivorceSource(TextArena& arena, ArenaStr key);
    void AppendDivorceSourceText(TextArena& arena, std::string_view text);
    void AddObject(TextArena& arena, ArenaStr key);

    std::int32_t m_nIndex = -1;
    ArenaStr m_strID;
    ArenaStr m_strHusband;
    ArenaStr m_strWife;
    ArenaStrList m_arrChildren;
    std::int32_t m_nChildren = 0;
    ArenaStr m_strMarriageDate, m_strMarriagePlace;
    ArenaStr m_strDivorceDate, m_strDivorcePlace;
    ArenaStrList m_arrNotes;
    std::int32_t m_nNotes = 0;
    ArenaStrList m_arrSources, m_arrSourceTexts;
    std::int32_t m_nSources = 0;
    ArenaStrList m_arrDivorceSources, m_arrDivorceSourceTexts;
    std::int32_t m_nDivorceSources = 0;
    ArenaStrList m_arrObjects;
    std::int32_t m_nObjects = 0;
};

} // namespace stirpex
