#pragma once

// What each line contributes to the model. A flat state machine, not a tree
// builder: it keeps the kind of the current level-0 record, the context a
// level-1 line opened (an event, a note text, an address, ...), where citation
// text goes, and the most recently made record of each kind. Those "current"
// records outlive the record they were made in: a line that acts on the
// current note acts on the newest note, wherever it was made. Lines it does
// not understand are skipped; no line is ever an error.
//
// It reads joined lines (LogicalLines): a CONC value is already part of the
// line it continues, and each CONT line is a line of text of its own.
//
// The header's GEDC VERS tells the GEDCOM version. A 7.x file is UTF-8
// whatever its CHAR line says; its SNOTE records and pointers are notes;
// @VOID@ names nobody, so it makes no link; and a value that starts with "@@"
// starts with one '@'. Earlier versions keep their values as written.

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

    // One line of model text, trimmed, with a level or without. True when the
    // line took effect: it matched a rule that acts in the record and context
    // it is read in (whatever its value); false when it was skipped.
    bool HandleLine(std::string_view line);

    // The set the next line is to be converted from; ANSEL until a CHAR line says otherwise.
    CharSet charSet() const noexcept { return m_charSet; }
    // A GEDCOM 7 file, by its header's GEDC VERS: UTF-8 whatever CHAR says.
    bool isGedcom7() const noexcept { return m_isGedcom7; }
    // Fixes the set, whatever CHAR lines say: for text whose bytes showed their encoding.
    void LockCharSet(CharSet set) noexcept {
        m_charSet = set;
        m_charSetLocked = true;
    }

private:
    enum class Context {
        None,
        Birth,
        Baptism,
        Death,
        Burial,
        Marriage,
        Divorce,
        NoteText,
        Occupation,
        Address,
        NoEvent,    // GEDCOM 7's NO: an event that did not happen; its lines go nowhere
        SourceText, // a source record's level-1 TEXT, continued by level-2 CONT
        GedcomInfo, // the header's GEDC, whose VERS is the GEDCOM version
    };
    // Where the level-4 continuations of a level-3 TEXT go.
    enum class TextTarget { None, Source, Citation };
    // What a table of level-1 rows made of a line.
    enum class Row { NotMatched, Skipped, Used };

    bool handleLevel0(std::string_view line);
    bool handleLevel1(std::string_view line, std::size_t tag);
    bool handleLevel2(std::string_view line, std::size_t tag);
    bool handleLevel3(std::string_view line, std::size_t tag);
    bool handleLevel4(std::string_view line, std::size_t tag);

    Row handleIndividualRow(std::string_view line, std::size_t tag);
    Row handleEventRow(std::string_view line, std::size_t tag);
    Row handleFamilyRow(std::string_view line, std::size_t tag);
    Row handleSourceRow(std::string_view line, std::size_t tag);
    Row handleHeaderRow(std::string_view line, std::size_t tag);

    bool noteLikeLine(std::string_view line, std::size_t tag, Context context);
    bool sourceLine(std::string_view line, std::size_t tag, bool isEventCitation);
    bool objectLine(std::string_view line, std::size_t tag);
    void nameLine(std::string_view value, bool isAlias);
    bool dateLine(std::string_view value);
    bool placeLine(std::string_view value);
    ArenaStr* eventField(ArenaStr PersonDetails::*baptism, ArenaStr PersonDetails::*burial,
                         ArenaStr FamilyDetails::*marriage, ArenaStr FamilyDetails::*divorce);
    bool citationText(std::string_view value);
    bool continuationLine(std::string_view line, std::size_t tag);
    bool appendNoteLine(std::string_view value);
    bool addressLine(std::string_view value);
    bool addressPartLine(std::string_view line, std::size_t tag);
    bool mimeLine(CNote*& note, std::string_view value);
    void versionLine(std::string_view value);

    CNote& makeNote(std::string_view firstLine);
    int eventNumber() const noexcept;
    ArenaStr store(std::string_view text);
    // A text value as the model keeps it: in a 7.x file a leading "@@" is one '@'.
    std::string_view text(std::string_view value) const noexcept;
    // A 7.x file's @VOID@, which names nobody.
    bool isVoid(std::string_view key) const noexcept { return m_isGedcom7 && key == "VOID"; }

    CStirpexDoc& m_doc;
    TextArena& m_arena;
    CharSet m_charSet = CharSet::Ansel;
    bool m_charSetLocked = false;
    bool m_isGedcom7 = false;
    RecordKind m_kind = RecordKind::None;
    Context m_context = Context::None;
    bool m_citationData = false;
    TextTarget m_textTarget = TextTarget::None;
    // Set to its level (1 or 2) by a SOUR line that cites nothing (@VOID@, or
    // under a NO), until the next line of that level or above: the lines under
    // it must not add to the citation before it.
    int m_voidCitationLevel = 0;
    CPerson* m_person = nullptr;
    CFamily* m_family = nullptr;
    CNote* m_note = nullptr;
    CSource* m_source = nullptr;
    CExtObj* m_extObj = nullptr;
    // The notes whose text the lines under them may still change: the note
    // record being read and the note its level-1 NOTE line made (for a MIME
    // line), and the note the level-1 ADDR line made (for its CONT lines and
    // parts). None when the line made no note, as for a pointer.
    CNote* m_recordNote = nullptr;
    CNote* m_lineNote = nullptr;
    CNote* m_addressNote = nullptr;
    NameParts m_nameParts;
};

} // namespace stirpex
