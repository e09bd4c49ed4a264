#pragma once

// What each line contributes to the model. A flat state machine, not a tree
// builder: it keeps the kind of the current level-0 record, the context a
// level-1 line opened (an event, a note text, ...), two flags for citation
// text, and the most recently made record of each kind. Those "current"
// records outlive the record they were made in: a line that acts on the
// current note acts on the newest note, wherever it was made. Lines it does
// not understand are skipped; no line is ever an error.

#include "gedcom/char_set.h"
#include "gedcom/gedcom_line.h"
#include "gedcom/name_split.h"
#include "model/text_arena.h"

#include <string_view>

namespace stirpex {

class CExtObj;
class CFamily;
class CNote;
class CPerson;
struct FamilyDetails;
struct PersonDetails;
class CSource;
class CStirpexDoc;

class RecordParser {
public:
    explicit RecordParser(CStirpexDoc& doc);

    // One line of model text, trimmed, with a level or without.
    void HandleLine(std::string_view line);

    // The set the next line is to be converted from; ANSEL until a CHAR line says otherwise.
    CharSet charSet() const noexcept { return m_charSet; }
    // Fixes the set, whatever CHAR lines say: for text whose bytes showed their encoding.
    void LockCharSet(CharSet set) noexcept {
        m_charSet = set;
        m_charSetLocked = true;
    }

private:
    enum class Context { None, Birth, Baptism, Death, Burial, Marriage, Divorce, NoteText, Occupation, Address };

    void handleLevel0(std::string_view line);
    void handleLevel1(std::string_view line, std::size_t tag);
    void handleLevel2(std::string_view line, std::size_t tag);
    void handleLevel3(std::string_view line, std::size_t tag);
    void handleLevel4(std::string_view line, std::size_t tag);

    bool handleIndividualRow(std::string_view line, std::size_t tag);
    bool handleEventRow(std::string_view line, std::size_t tag);
    bool handleFamilyRow(std::string_view line, std::size_t tag);
    bool handleSourceRow(std::string_view line, std::size_t tag);
    bool handleHeaderRow(std::string_view line, std::size_t tag);

    void noteLikeLine(std::string_view line, std::size_t tag, Context context);
    void sourceLine(std::string_view line, std::size_t tag, bool isEventCitation);
    void objectLine(std::string_view line, std::size_t tag);
    void nameLine(std::string_view value, bool isAlias);
    void dateLine(std::string_view value);
    void placeLine(std::string_view value);
    ArenaStr* eventField(ArenaStr PersonDetails::*baptism, ArenaStr PersonDetails::*burial,
                         ArenaStr FamilyDetails::*marriage, ArenaStr FamilyDetails::*divorce);
    void citationText(std::string_view value);
    void appendNoteLine(std::string_view text);

    CNote& makeNote(std::string_view firstLine);
    int eventNumber() const noexcept;
    ArenaStr store(std::string_view text);

    CStirpexDoc& m_doc;
    TextArena& m_arena;
    CharSet m_charSet = CharSet::Ansel;
    bool m_charSetLocked = false;
    RecordKind m_kind = RecordKind::None;
    Context m_context = Context::None;
    bool m_citationData = false;
    bool m_sourceText = false;
    CPerson* m_person = nullptr;
    CFamily* m_family = nullptr;
    CNote* m_note = nullptr;
    CSource* m_source = nullptr;
    CExtObj* m_extObj = nullptr;
    NameParts m_nameParts;
};

} // namespace stirpex
