#pragma once

// What each line contributes to the model. A flat state machine, not a tree
// builder: it keeps the kind of the current level-0 record, the context a
// level-1 line opened (a fact, a note text, a citation, ...), where citation
// text goes, and the most recently made record of each kind. Those "current"
// records outlive the record they were made in: a line that acts on the
// current note acts on the newest note, wherever it was made. No line is ever
// an error.
//
// Individual and family records lose nothing: every event, attribute and
// other structure becomes a fact (model/fact.h) in file order, and a line
// under any level-1 line that no rule takes is kept as a line of that fact,
// or of a fact made for the level-1 line it stands under (a NAME's nickname,
// a FAMC's pedigree). In other records lines no rule takes are skipped.
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
#include "gedcom/shared_texts.h"
#include "model/fact.h"
#include "model/fact_kinds.h"
#include "model/text_arena.h"

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CExtObj;
class CFamily;
class FactList;
struct Fact;
class CNote;
class CPerson;
struct FamilyDetails;
struct PersonDetails;
class CSource;
class CStirpexDoc;

// What the parser carries from record to record besides the records it made.
struct CarriedState {
    CharSet charSet = CharSet::Ansel;
    bool charSetLocked = false;
    bool isGedcom7 = false;
    bool operator==(const CarriedState&) const = default;
};

class RecordParser {
public:
    explicit RecordParser(CStirpexDoc& doc);
    // A parser of a later part of a file: lines from a level-0 line on, read
    // into a document of their own while the lines before are still being
    // read, starting from `assumed`. The records made before are unknown to
    // it, so every line that needs one of them, or that sets a field of the
    // file's header, marks the part as needing the earlier lines
    // (needsEarlierLines); the part must then be read again by the parser of
    // the whole file. Keys it generates are numbered later (keysToNumber).
    RecordParser(CStirpexDoc& doc, const CarriedState& assumed);

    // One line of model text, trimmed, with a level or without. True when the
    // line took effect: it matched a rule that acts in the record and context
    // it is read in (whatever its value); false when it was skipped.
    bool HandleLine(std::string_view line);
    // The end of the input: the last record's facts are stored.
    void Finish();

    // The set the next line is to be converted from; ANSEL until a CHAR line says otherwise.
    CharSet charSet() const noexcept { return m_charSet; }
    // A GEDCOM 7 file, by its header's GEDC VERS: UTF-8 whatever CHAR says.
    bool isGedcom7() const noexcept { return m_isGedcom7; }
    // Fixes the set, whatever CHAR lines say: for text whose bytes showed their encoding.
    void LockCharSet(CharSet set) noexcept {
        m_charSet = set;
        m_charSetLocked = true;
    }

    CarriedState carried() const noexcept { return {m_charSet, m_charSetLocked, m_isGedcom7}; }
    // A later part's lines needed what only the lines before them can tell.
    bool needsEarlierLines() const noexcept { return m_needsEarlier; }
    // The keys a later part generated, empty and in file order: each is to be
    // filled (TextArena::fill) with the key of its number once the part's
    // place among the file's generated keys is known.
    const std::vector<ArenaStr>& keysToNumber() const noexcept { return m_keysToNumber; }
    // Goes on after a later part that was read on its own and kept: the
    // records it made last are the current ones now. Both parsers must have
    // finished their lines.
    void ContinueAfter(const RecordParser& part);

private:
    enum class Context {
        None,
        Fact, // an individual's or family's event, attribute or other structure: m_fact
        NoteText,
        Occupation, // outside individual and family records, an occupation is a note
        Address,    // ... and so is an address
        SourceText, // a source record's level-1 TEXT, continued by level-2 CONT
        GedcomInfo, // the header's GEDC, whose VERS is the GEDCOM version
        Object,     // an OBJE line: its FILE, FORM and TITL describe the current external reference
    };
    // What the current level-2 line of a fact opened, for the level-3 lines under it.
    enum class Sub { None, Date, Address, Note, Object };
    // Where the level-4 continuations of a level-3 TEXT go.
    enum class TextTarget { None, Source, Citation };
    // What a table of level-1 rows made of a line.
    enum class Row { NotMatched, Skipped, Used };

    bool handleLevel0(std::string_view line);
    bool handleLevel1(std::string_view line, std::size_t tag);
    bool handleLevel2(std::string_view line, std::size_t tag);
    bool handleLevel3(std::string_view line, std::size_t tag);
    bool handleLevel4(std::string_view line, std::size_t tag);

    void endLevel1Line() noexcept;
    bool inFactRecord() const noexcept;
    Fact& newFact(ArenaStr tag);
    void storeFacts();
    bool handleOtherLevel2(std::string_view line, std::size_t tag);
    bool handleRecordLevel1(std::string_view line, std::size_t tag);
    bool handleRecordLevel2(std::string_view line, std::size_t tag);
    bool handleRecordDeeper(std::string_view line, std::size_t tag, int level);
    bool handleFactLevel2(std::string_view line, std::size_t tag);
    bool handleSubLine(std::string_view line, std::size_t tag);
    bool objectPartLine(std::string_view line, std::size_t tag);
    void startFact(std::string_view line, std::size_t tag);
    void holdLevel1(std::string_view line, std::size_t tag);
    void keepReplaced(std::string_view tag, std::string_view value);
    void keepReplacedLink(std::string_view tag, ArenaStr key);
    bool keepLine(std::string_view line, std::size_t tag, int level);
    Fact& heldFact();
    bool factDateLine(std::string_view value);
    bool factAddressLine(std::string_view line, std::size_t tag);
    Row handleFamilyMemberRow(std::string_view line, std::size_t tag);
    bool factFieldLine(std::string_view line, std::size_t tag);
    bool citationPartLine(std::string_view line, std::size_t tag, int level);
    bool nameSubLine(std::string_view line, std::size_t tag);
    bool factNoteLine(std::string_view line, std::size_t tag);
    bool factSourceLine(std::string_view line, std::size_t tag);
    bool factObjectLine(std::string_view line, std::size_t tag);

    Row handleIndividualRow(std::string_view line, std::size_t tag);
    Row handleEventRow(std::string_view line, std::size_t tag);
    Row handleFamilyRow(std::string_view line, std::size_t tag);
    Row handleSourceRow(std::string_view line, std::size_t tag);
    Row handleHeaderRow(std::string_view line, std::size_t tag);

    bool noteLikeLine(std::string_view line, std::size_t tag, Context context);
    bool sourceLine(std::string_view line, std::size_t tag, bool isEventCitation);
    struct ObjectReference {
        ArenaStr key;
        bool made = false; // an external reference made inline
    };
    ObjectReference objectReference(std::string_view line, std::size_t tag);
    bool objectLine(std::string_view line, std::size_t tag);
    void nameLine(std::string_view value, bool isAlias);
    bool dateLine(std::string_view value);
    bool placeLine(std::string_view value);
    bool citationText(std::string_view value);
    void addCitation(ArenaStr key);
    bool continuationLine(std::string_view line, std::size_t tag);
    bool appendNoteLine(std::string_view value);
    bool addressLine(std::string_view value);
    bool addressPartLine(std::string_view line, std::size_t tag);
    bool mimeLine(CNote*& note, std::string_view value);
    void versionLine(std::string_view value);

    // The records lines after their own may act on. A later part knows only
    // those it made itself: reading one it did not make marks the part.
    // The level-1 line last held is one of them: a deeper line right after a
    // level-0 line is kept under it.
    enum Current : unsigned { kNote = 1, kSource = 2, kExtObj = 4, kCitedSource = 8, kHeldLine = 16, kAllCurrent = 31 };
    void made(Current which) noexcept { m_currentMade |= which; }
    void use(Current which) noexcept {
        if (!(m_currentMade & which)) {
            m_needsEarlier = true;
        }
    }
    CNote* note() noexcept { return use(kNote), m_note; }
    CSource* source() noexcept { return use(kSource), m_source; }
    CExtObj* extObj() noexcept { return use(kExtObj), m_extObj; }
    CSource* citedSource() noexcept { return use(kCitedSource), m_citedSource; }
    // Before a line sets a field of the file's header.
    void headerField() noexcept { m_needsEarlier = m_needsEarlier || m_laterPart; }
    ArenaStr generatedKey();

    ArenaStr grow(ArenaStr text, const void* owner, std::string_view separator, std::string_view more);
    CNote& makeNote(std::string_view firstLine);
    ArenaStr store(std::string_view text);
    // A key, place or name: stored once for its repeats (gedcom/shared_texts.h).
    ArenaStr storeShared(std::string_view text) { return m_shared.store(text); }
    // A text value as the model keeps it: in a 7.x file a leading "@@" is one '@'.
    std::string_view text(std::string_view value) const noexcept;
    // A 7.x file's @VOID@, which names nobody.
    bool isVoid(std::string_view key) const noexcept { return m_isGedcom7 && key == "VOID"; }

    CStirpexDoc& m_doc;
    TextArena& m_arena;
    SharedTexts m_shared{m_arena};
    CharSet m_charSet = CharSet::Ansel;
    bool m_charSetLocked = false;
    bool m_isGedcom7 = false;
    RecordKind m_kind = RecordKind::None;
    Context m_context = Context::None;
    bool m_citationData = false;
    TextTarget m_textTarget = TextTarget::None;
    // Set to its level (1 or 2) by a SOUR line that cites nothing (@VOID@),
    // until the next line of that level or above: the lines under it must not
    // add to the citation before it.
    int m_voidCitationLevel = 0;
    // Individual and family records: the fact of the current level-1 line,
    // or the one made to keep the lines under a level-1 line that is no fact;
    // null until then. That level-1 line is kept for it.
    Fact* m_fact = nullptr;
    ClassicEvent m_event = ClassicEvent::None;
    std::string m_heldLine; // from the tag on
    // The facts of the record being read, stored in its details when it ends.
    std::vector<Fact> m_recordFacts;
    Sub m_sub = Sub::None;
    bool m_nameLine = false; // the current level-1 line is a NAME
    // The citation texts PAGE and TEXT are glued to: those of the current
    // record's or fact's list, or none.
    ArenaStrList* m_citationTexts = nullptr;
    int m_citationLevel = 0;          // the level of the SOUR line of m_citationTexts' citation
    CSource* m_citedSource = nullptr; // the source an inline citation made, for its TEXT and CONT
    int m_subLevel = 0;               // the level of the line that opened m_sub
    bool m_dateTimed = false;         // the fact's DATE has had its TIME
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
    // The fact or source whose value or title was last continued: its text
    // has room to grow in place (model/text_arena.h).
    const void* m_growing = nullptr;
    bool m_laterPart = false;
    bool m_needsEarlier = false;
    unsigned m_currentMade = kAllCurrent;
    std::vector<ArenaStr> m_keysToNumber;
};

} // namespace stirpex
