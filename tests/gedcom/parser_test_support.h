#pragma once

// Reading what the record parser made: lists as vectors, records by key.

#include "gedcom/test_support.h"
#include "model/fact_kinds.h"
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

// The facts of a list with this tag, in file order.
inline std::vector<const Fact*> FactsTagged(const FactList& facts, std::string_view tag) {
    std::vector<const Fact*> out;
    for (const Fact& fact : facts) {
        if (fact.m_strTag.view() == tag) {
            out.push_back(&fact);
        }
    }
    return out;
}

// The nth fact with this tag; fails when there is none.
inline const Fact& FactTagged(const FactList& facts, std::string_view tag, std::size_t nth = 0) {
    const std::vector<const Fact*> tagged = FactsTagged(facts, tag);
    if (nth >= tagged.size()) {
        throw std::logic_error("no fact " + std::string(tag) + " #" + std::to_string(nth));
    }
    return *tagged[nth];
}

inline Texts TagsOf(const FactList& facts) {
    Texts out;
    for (const Fact& fact : facts) {
        out.emplace_back(fact.m_strTag.view());
    }
    return out;
}

inline Citations CitationsOf(const Fact& fact) {
    return CitationsOf(fact.Details().m_arrSources, fact.Details().m_arrSourceTexts);
}

// Every citation of the facts of a classic event, in file order: what the
// event's sources link shows.
inline Citations EventCitations(const FactList& facts, ClassicEvent event) {
    Citations out;
    for (const Fact& fact : facts) {
        if (ClassicEventOf(fact.m_strTag.view(), InfoOf(event).family) == event) {
            const Citations own = CitationsOf(fact);
            out.insert(out.end(), own.begin(), own.end());
        }
    }
    return out;
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
