#pragma once

// Source (SOUR) records, note (NOTE) records and external references (OBJE).

#include "model/text_arena.h"

#include <cstdint>

namespace stirpex {

class CSource {
public:
    CSource() = default;
    CSource(const CSource&) = delete;
    CSource& operator=(const CSource&) = delete;
    virtual ~CSource() = default;

    void AddNote(TextArena& arena, ArenaStr key);
    void AddObject(TextArena& arena, ArenaStr key);
    void AddTextLine(TextArena& arena, ArenaStr text);

    std::int32_t m_nIndex = -1;
    ArenaStr m_strID;
    ArenaStr m_strTitle;
    ArenaStr m_strAuthor;
    ArenaStr m_strPublication;
    ArenaStrList m_arrNotes;
    std::int32_t m_nNotes = 0;
    ArenaStrList m_arrText;
    std::int32_t m_nTextLines = 0;
    ArenaStrList m_arrObjects;
    std::int32_t m_nObjects = 0;
};

class CNote {
public:
    CNote() = default;
    CNote(const CNote&) = delete;
    CNote& operator=(const CNote&) = delete;
    virtual ~CNote() = default;

    std::int32_t m_nIndex = -1;
    ArenaStr m_strID;
    // The note's lines; the list block lives in the document's arena and goes with it.
    ArenaStrList m_pLines;
};

class CExtObj {
public:
    CExtObj() = default;
    CExtObj(const CExtObj&) = delete;
    CExtObj& operator=(const CExtObj&) = delete;
    virtual ~CExtObj() = default;

    std::int32_t m_nIndex = -1;
    ArenaStr m_strID;
    ArenaStr m_strFile;
    ArenaStr m_strTitle;
    ArenaStr m_strForm; // as written: "jpg", "image/jpeg", ...
};

} // namespace stirpex
