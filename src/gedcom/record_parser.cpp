#include "gedcom/record_parser.h"

#include "model/stirpex_doc.h"
#include "model/utf8.h"

namespace stirpex {

namespace {

char32_t firstCharacter(std::string_view value) {
    if (value.empty()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(value[0]);
    const std::size_t length = CodePointLength(lead);
    if (length == 1 || value.size() < length) {
        return lead;
    }
    char32_t cp = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        cp = (cp << 6) | (static_cast<unsigned char>(value[i]) & 0x3F);
    }
    return cp;
}

} // namespace

RecordParser::RecordParser(CStirpexDoc& doc) : m_doc(doc), m_arena(doc.Arena()) {}

RecordParser::RecordParser(CStirpexDoc& doc, const CarriedState& assumed)
    : m_doc(doc), m_arena(doc.Arena()), m_charSet(assumed.charSet), m_charSetLocked(assumed.charSetLocked),
      m_isGedcom7(assumed.isGedcom7), m_laterPart(true), m_currentMade(0) {}

void RecordParser::ContinueAfter(const RecordParser& part) {
    if (part.m_currentMade & kNote) {
        m_note = part.m_note;
    }
    if (part.m_currentMade & kSource) {
        m_source = part.m_source;
    }
    if (part.m_currentMade & kExtObj) {
        m_extObj = part.m_extObj;
    }
    if (part.m_currentMade & kCitedSource) {
        m_citedSource = part.m_citedSource;
    }
    if (part.m_currentMade & kHeldLine) {
        m_heldLine = part.m_heldLine;
    }
    m_person = part.m_person;
    m_family = part.m_family;
    m_kind = part.m_kind;
    m_growing = nullptr; // a text grown there has no room known here
}

ArenaStr RecordParser::generatedKey() {
    if (!m_laterPart) {
        return store(MakeGeneratedKey());
    }
    const ArenaStr key = m_arena.reserve(kGeneratedKeyBytes);
    TextArena::fill(key, " "); // not empty: an empty key would read as no key at all
    m_keysToNumber.push_back(key);
    return key;
}

ArenaStr RecordParser::store(std::string_view text) {
    return m_arena.copy(text);
}

std::string_view RecordParser::text(std::string_view value) const noexcept {
    const bool escaped = m_isGedcom7 && value.size() >= 2 && value[0] == '@' && value[1] == '@';
    return escaped ? value.substr(1) : value;
}

bool RecordParser::HandleLine(std::string_view line) {
    switch (LineLevel(line)) {
    case 0:
        return handleLevel0(line);
    case 1:
        return handleLevel1(line, TagPosition(line));
    case 2:
        return handleLevel2(line, TagPosition(line));
    case 3:
        return handleLevel3(line, TagPosition(line));
    case 4:
        return handleLevel4(line, TagPosition(line));
    default:
        // Levels past 4 are read (a cited text's continuations) or kept in
        // individual and family records, skipped elsewhere.
        if (!line.empty() && line[0] >= '5' && line[0] <= '9' && inFactRecord()) {
            return handleRecordDeeper(line, TagPosition(line), line[0] - '0');
        }
        return false;
    }
}

bool RecordParser::handleLevel0(std::string_view line) {
    storeFacts();
    endLevel1Line();
    m_voidCitationLevel = 0;
    m_context = Context::None;
    m_citationData = false;
    m_textTarget = TextTarget::None;
    m_recordNote = nullptr;
    m_lineNote = nullptr;
    m_addressNote = nullptr;
    m_kind = RecordKind::None;
    const RecordLine record = RecognizeRecordLine(line);
    switch (record.kind) {
    case RecordKind::Individual:
        m_person = &m_doc.AddPerson(storeShared(record.key));
        break;
    case RecordKind::Family:
        m_family = &m_doc.AddFamily(storeShared(record.key));
        break;
    case RecordKind::Source:
        m_source = &m_doc.AddSource(storeShared(record.key));
        made(kSource);
        break;
    case RecordKind::ExtObj:
        m_extObj = &m_doc.AddExtObj(storeShared(record.key));
        made(kExtObj);
        break;
    case RecordKind::Note: {
        m_note = &m_doc.AddNote(storeShared(record.key));
        made(kNote);
        if (const auto first = FirstNoteLine(line)) {
            m_note->m_pLines.append(m_arena, store(text(*first)));
        }
        m_recordNote = m_note;
        break;
    }
    case RecordKind::Header:
    case RecordKind::Submitter:
    case RecordKind::None:
        break;
    }
    m_kind = record.kind;
    // The trailer is no record, but it is understood: it ends the file.
    return record.kind != RecordKind::None || ReportTag(line) == "TRLR";
}

void RecordParser::endLevel1Line() noexcept {
    m_fact = nullptr;
    m_event = ClassicEvent::None;
    m_sub = Sub::None;
    m_nameLine = false;
    m_citationTexts = nullptr;
    m_citationLevel = 0;
}

bool RecordParser::handleLevel1(std::string_view line, std::size_t tag) {
    m_voidCitationLevel = 0;
    m_context = Context::None;
    m_citationData = false;
    m_textTarget = TextTarget::None;
    m_lineNote = nullptr;
    m_addressNote = nullptr;
    endLevel1Line();
    if (inFactRecord()) {
        return handleRecordLevel1(line, tag);
    }
    Row row = handleIndividualRow(line, tag);
    if (row == Row::NotMatched) {
        row = handleEventRow(line, tag);
    }
    if (row == Row::NotMatched) {
        row = handleFamilyRow(line, tag);
    }
    if (row != Row::NotMatched) {
        return row == Row::Used;
    }
    if (TagIs(line, tag, "CONT") || TagIs(line, tag, "CONC")) {
        return m_kind == RecordKind::Note && appendNoteLine(ValueWord(line, tag));
    }
    if (m_kind == RecordKind::Source) {
        row = handleSourceRow(line, tag);
        if (row != Row::NotMatched) {
            return row == Row::Used;
        }
    }
    if (TagIs(line, tag, "SOUR")) {
        return sourceLine(line, tag, false);
    }
    if (TagIs(line, tag, "OBJE")) {
        return objectLine(line, tag);
    }
    if (m_kind == RecordKind::ExtObj && TagIs(line, tag, "FILE")) {
        if (extObj() && m_extObj->m_strFile.empty()) {
            m_extObj->m_strFile = store(text(ValueWord(line, tag)));
            return true;
        }
        return false;
    }
    if (m_kind == RecordKind::ExtObj && (TagIs(line, tag, "TITL") || TagIs(line, tag, "FORM"))) {
        return objectPartLine(line, tag);
    }
    if (m_kind == RecordKind::Note && TagIs(line, tag, "MIME")) {
        return mimeLine(m_recordNote, ValueFixed(line, tag, 4));
    }
    return handleHeaderRow(line, tag) == Row::Used;
}

RecordParser::Row RecordParser::handleIndividualRow(std::string_view line, std::size_t tag) {
    const bool individual = m_kind == RecordKind::Individual && m_person;
    if (TagIs(line, tag, "NAME")) {
        const std::string_view value = text(ValueFixed(line, tag, 4));
        if (individual) {
            nameLine(value, false);
        } else if (m_kind == RecordKind::Submitter && !value.empty()) {
            headerField();
            m_doc.m_strSubmitter = WithoutSlashes(value);
        } else {
            return Row::Skipped;
        }
        return Row::Used;
    }
    if (m_kind == RecordKind::Individual && TagIs(line, tag, "ALIA")) {
        const std::string_view value = ValueFixed(line, tag, 4);
        if (!individual || (!value.empty() && value[0] == '@')) {
            return Row::Skipped;
        }
        nameLine(value, true);
        return Row::Used;
    }
    if (TagIs(line, tag, "SEX")) {
        if (!individual) {
            return Row::Skipped;
        }
        if (m_person->m_cSex != 0) {
            std::string earlier;
            AppendUtf8(earlier, m_person->m_cSex);
            keepReplaced("SEX", earlier);
        }
        m_person->m_cSex = firstCharacter(ValueFixed(line, tag, 3));
        return Row::Used;
    }
    const bool famc = TagIs(line, tag, "FAMC");
    if (famc || TagIs(line, tag, "FAMS")) {
        const std::string_view key = PointerKey(line, tag);
        if (!individual || isVoid(key)) {
            return Row::Skipped;
        }
        if (famc) {
            keepReplacedLink("FAMC", m_person->m_strParentFamily);
            m_person->m_strParentFamily = storeShared(key);
        } else {
            m_person->AddSpouseFamily(m_arena, storeShared(key));
        }
        return Row::Used;
    }
    return Row::NotMatched;
}

RecordParser::Row RecordParser::handleEventRow(std::string_view line, std::size_t tag) {
    bool used = true;
    if (TagIs(line, tag, "NOTE") || TagIs(line, tag, "EVEN") || TagIs(line, tag, "HIST")) {
        used = noteLikeLine(line, tag, Context::NoteText);
    } else if (TagIs(line, tag, "SNOTE")) {
        used = noteLikeLine(line, tag + 1, Context::NoteText); // its value follows "NOTE", as a NOTE line's
    } else if (TagIs(line, tag, "ADDR")) {
        used = noteLikeLine(line, tag, Context::Address);
    } else if (TagIs(line, tag, "OCCU")) {
        used = noteLikeLine(line, tag, Context::Occupation);
    } else if (TagIs(line, tag, "BIRT") || TagIs(line, tag, "BAP") || TagIs(line, tag, "CHR") ||
               TagIs(line, tag, "DEAT") || TagIs(line, tag, "BURI")) {
        used = false; // an event outside an individual record belongs to nobody
    } else {
        return Row::NotMatched;
    }
    return used ? Row::Used : Row::Skipped;
}

// A family's lines outside a family record: taken by their rows, to no effect.
RecordParser::Row RecordParser::handleFamilyRow(std::string_view line, std::size_t tag) {
    if (TagIs(line, tag, "HUSB") || TagIs(line, tag, "WIFE") || TagIs(line, tag, "CHIL") || TagIs(line, tag, "MARR") ||
        TagIs(line, tag, "DIV")) {
        return Row::Skipped;
    }
    return Row::NotMatched;
}

RecordParser::Row RecordParser::handleHeaderRow(std::string_view line, std::size_t tag) {
    if (TagIs(line, tag, "DATE")) {
        if (m_kind != RecordKind::Header) {
            return Row::Skipped;
        }
        headerField();
        m_doc.m_strFileDate = text(ValueFixed(line, tag, 4));
    } else if (TagIs(line, tag, "DEST")) {
        headerField();
        m_doc.m_strDestination = text(ValueFixed(line, tag, 4));
    } else if (TagIs(line, tag, "CHAR")) {
        const std::string_view value = ValueFixed(line, tag, 4);
        headerField();
        m_doc.m_strCharSet = value;
        // GEDCOM 7 is UTF-8 whatever a CHAR line says.
        if (const auto set = CharSetFromValue(value); set && !m_charSetLocked && !m_isGedcom7) {
            m_charSet = *set;
        }
    } else if (TagIs(line, tag, "GEDC")) {
        if (m_kind != RecordKind::Header) {
            return Row::Skipped;
        }
        m_context = Context::GedcomInfo;
    } else {
        return Row::NotMatched;
    }
    return Row::Used;
}

// Only the VERS under the header's GEDC is the GEDCOM version; the one under
// its SOUR is the version of the program that wrote the file.
void RecordParser::versionLine(std::string_view value) {
    headerField();
    m_doc.m_strGedcomVersion = value;
    m_isGedcom7 = !value.empty() && value[0] == '7';
    if (m_isGedcom7) {
        m_charSet = CharSet::Utf8;
    }
}

void RecordParser::nameLine(std::string_view value, bool isAlias) {
    SplitName(value, m_nameParts);
    const ArenaStr surname = storeShared(m_nameParts.surname);
    const ArenaStr givenNames = storeShared(m_nameParts.givenNames);
    if (!isAlias && m_person->m_strSurname.empty()) {
        keepReplaced("NAME", m_person->m_strGivenNames.view());
        m_person->m_strSurname = surname;
        m_person->m_strGivenNames = givenNames;
    } else {
        m_person->AddAltName(m_arena, surname, givenNames);
    }
}

bool RecordParser::handleLevel2(std::string_view line, std::size_t tag) {
    if (m_voidCitationLevel == 2) {
        m_voidCitationLevel = 0;
    }
    m_citationData = false;
    m_textTarget = TextTarget::None;
    if (inFactRecord()) {
        return handleRecordLevel2(line, tag);
    }
    return handleOtherLevel2(line, tag);
}

// Level 2 as every record has read it; in individual and family records for
// the lines under a level-1 line that is no fact.
bool RecordParser::handleOtherLevel2(std::string_view line, std::size_t tag) {
    if (m_kind == RecordKind::ExtObj && objectPartLine(line, tag)) {
        return true;
    }
    if (TagIs(line, tag, "DATE")) {
        return dateLine(ValueFixed(line, tag, 4));
    }
    if (TagIs(line, tag, "PLAC")) {
        return placeLine(ValuePlace(line, tag));
    }
    if (TagIs(line, tag, "TYPE")) {
        return m_context == Context::NoteText && appendNoteLine(ValueFixed(line, tag, 4));
    }
    if (TagIs(line, tag, "CONT") || TagIs(line, tag, "CONC") || TagIs(line, tag, "NOTE")) {
        return continuationLine(line, tag);
    }
    if (TagIs(line, tag, "SOUR")) {
        return sourceLine(line, tag, true);
    }
    if (TagIs(line, tag, "PAGE")) {
        return citationText(text(ValueFixed(line, tag, 4)));
    }
    if (TagIs(line, tag, "DATA")) {
        m_citationData = true;
        return true;
    }
    if (TagIs(line, tag, "VERS")) {
        if (m_context != Context::GedcomInfo) {
            return false;
        }
        versionLine(ValueFixed(line, tag, 4));
        return true;
    }
    if (TagIs(line, tag, "MIME")) {
        return m_context == Context::NoteText && mimeLine(m_lineNote, ValueFixed(line, tag, 4));
    }
    return m_context == Context::Address && addressPartLine(line, tag);
}

bool RecordParser::dateLine(std::string_view value) {
    if (value.empty()) {
        return false;
    }
    return m_context == Context::NoteText && appendNoteLine(value);
}

bool RecordParser::placeLine(std::string_view value) {
    value = text(value);
    if (value.empty()) {
        return false;
    }
    return m_context == Context::NoteText && appendNoteLine(value);
}

} // namespace stirpex
