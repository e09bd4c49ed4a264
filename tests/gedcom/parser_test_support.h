#pragma once

// Reading what the record parser made: lists as vectors, records by key.

#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stirpex::test {

using Texts = std::vector<std::string>;
using Citations = std::vector<std::pair<std::string, std::string>>;

inline Texts TextsOf(const ArenaStrList& list) {
    Texts out;
    for (const ArenaStr& text : list) {
        out.emplace_back(text.view());
    }
    return out;
}

inline Citations CitationsOf(const ArenaStrList& keys, const ArenaStrList& texts) {
    Citations out;
    for (int i = 0; i < keys.size(); ++i) {
        out.emplace_back(std::string(keys[i].view()), std::string(texts[i].view()));
    }
    return out;
}

template <typename Record>
const Record& Find(const Record* (CStirpexDoc::*find)(std::string_view) const noexcept, const LoadedDoc& loaded,
                   std::string_view key) {
    const Record* record = ((*loaded.doc).*find)(key);
    if (!record) {
        throw std::logic_error("no record " + std::string(key));
    }
    return *record;
}
inline const CPerson& PersonOf(const LoadedDoc& loaded, std::string_view key) {
    return Find(&CStirpexDoc::FindPerson, loaded, key);
}
inline const CFamily& FamilyOf(const LoadedDoc& loaded, std::string_view key) {
    return Find(&CStirpexDoc::FindFamily, loaded, key);
}
inline const CSource& SourceOf(const LoadedDoc& loaded, std::string_view key) {
    return Find(&CStirpexDoc::FindSource, loaded, key);
}

// The lines of the note a (usually generated) key names; fails when the key names none.
inline Texts NoteLines(const LoadedDoc& loaded, std::string_view key) {
    const CNote* note = loaded.doc->FindNote(key);
    if (!note) {
        throw std::logic_error("no note '" + std::string(key) + "'");
    }
    return TextsOf(note->m_pLines);
}

inline bool IsGeneratedKey(ArenaStr key) {
    return key.size() > 1 && key.view()[0] == ' ';
}

inline LoadedDoc LoadIndi(const std::string& body) {
    return LoadText("0 @I1@ INDI\n" + body + "\n");
}

// A GEDCOM 7 file: its header names the version, and it has no CHAR line.
inline LoadedDoc LoadGedcom7(const std::string& records) {
    return LoadText("0 HEAD\n1 GEDC\n2 VERS 7.0\n" + records + "0 TRLR\n");
}

} // namespace stirpex::test
