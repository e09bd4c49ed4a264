#include "gedcom/record_parser.h"

#include "model/date_year.h"
#include "model/readable_date.h"
#include "model/stirpex_doc.h"
#include "model/utf8.h"

namespace stirpex {

namespace {

constexpr auto kAbout = staticText("c");
constexpr auto kBefore = staticText("<");
constexpr auto kAfter = staticText(">");
constexpr auto kDivorceWithoutDate = staticText("    ");

ArenaStr qualifierText(std::string_view date) {
    const std::string_view q = DateQualifier(date);
    if (q.empty()) {
        return {};
    }
    return ArenaStr::fromStatic(q == "c" ? kAbout : q == "<" ? kBefore : kAfter);
}

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

ArenaStr RecordParser::store(std::string_view text) {
    return m_arena.copy(text);
}

void RecordParser::HandleLine(std::string_view line) {
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
        return;
    }
}

void RecordParser::handleLevel0(std::string_view line) {
    m_context = Context::None;
    m_citationData = false;
    m_sourceText = false;
    m_kind = RecordKind::None;
    const RecordLine record = RecognizeRecordLine(line);
    switch (record.kind) {
    case RecordKind::Individual:
        m_person = &m_doc.AddPerson(store(record.key));
        break;
    case RecordKind::Family:
        m_family = &m_doc.AddFamily(store(record.key));
        break;
    case RecordKind::Source:
        m_source = &m_doc.AddSource(store(record.key));
        break;
    case RecordKind::ExtObj:
        m_extObj = &m_doc.AddExtObj(store(record.key));
        break;
    case RecordKind::Note: {
        m_note = &m_doc.AddNote(store(record.key));
        if (const auto first = FirstNoteLine(line)) {
            m_note->m_pLines.append(m_arena, store(*first));
        }
        break;
    }
    case RecordKind::Header:
    case RecordKind::Submitter:
    case RecordKind::None:
        break;
    }
    m_kind = record.kind;
}

void RecordParser::handleLevel1(std::string_view line, std::size_t tag) {
    m_context = Context::None;
    m_citationData = false;
    m_sourceText = false;
    if (handleIndividualRow(line, tag) || handleEventRow(line, tag) || handleFamilyRow(line, tag)) {
        return;
    }
    if (TagIs(line, tag, "CONT") || TagIs(line, tag, "CONC")) {
        if (m_kind == RecordKind::Note) {
            appendNoteLine(ValueWord(line, tag));
        }
        return;
    }
    if (m_kind == RecordKind::Source && handleSourceRow(line, tag)) {
        return;
    }
    if (TagIs(line, tag, "SOUR")) {
        return sourceLine(line, tag, false);
    }
    if (TagIs(line, tag, "OBJE")) {
        return objectLine(line, tag);
    }
    if (m_kind == RecordKind::ExtObj && TagIs(line, tag, "FILE")) {
        if (m_extObj && m_extObj->m_strFile.empty()) {
            m_extObj->m_strFile = store(ValueWord(line, tag));
        }
        return;
    }
    handleHeaderRow(line, tag);
}

bool RecordParser::handleIndividualRow(std::string_view line, std::size_t tag) {
    const bool individual = m_kind == RecordKind::Individual && m_person;
    if (TagIs(line, tag, "NAME")) {
        const std::string_view value = ValueFixed(line, tag, 4);
        if (individual) {
            nameLine(value, false);
        } else if (m_kind == RecordKind::Submitter && !value.empty()) {
            m_doc.m_strSubmitter = WithoutSlashes(value);
        }
        return true;
    }
    if (m_kind == RecordKind::Individual && TagIs(line, tag, "ALIA")) {
        const std::string_view value = ValueFixed(line, tag, 4);
        if (individual && (value.empty() || value[0] != '@')) {
            nameLine(value, true);
        }
        return true;
    }
    if (TagIs(line, tag, "SEX")) {
        if (individual) {
            m_person->m_cSex = firstCharacter(ValueFixed(line, tag, 3));
        }
        return true;
    }
    if (TagIs(line, tag, "FAMC")) {
        if (individual) {
            m_person->m_strParentFamily = store(PointerKey(line, tag));
        }
        return true;
    }
    if (TagIs(line, tag, "FAMS")) {
        if (individual) {
            m_person->AddSpouseFamily(m_arena, store(PointerKey(line, tag)));
        }
        return true;
    }
    return false;
}

bool RecordParser::handleEventRow(std::string_view line, std::size_t tag) {
    if (TagIs(line, tag, "NOTE") || TagIs(line, tag, "EVEN") || TagIs(line, tag, "HIST")) {
        noteLikeLine(line, tag, Context::NoteText);
    } else if (TagIs(line, tag, "ADDR")) {
        noteLikeLine(line, tag, Context::Address);
    } else if (TagIs(line, tag, "OCCU")) {
        noteLikeLine(line, tag, Context::Occupation);
    } else if (TagIs(line, tag, "BIRT")) {
        m_context = Context::Birth;
    } else if (TagIs(line, tag, "BAP") || TagIs(line, tag, "CHR")) {
        m_context = Context::Baptism;
    } else if (TagIs(line, tag, "DEAT")) {
        m_context = Context::Death;
    } else if (TagIs(line, tag, "BURI")) {
        m_context = Context::Burial;
    } else {
        return false;
    }
    return true;
}

bool RecordParser::handleFamilyRow(std::string_view line, std::size_t tag) {
    CFamily* family = m_kind == RecordKind::Family ? m_family : nullptr;
    if (TagIs(line, tag, "HUSB")) {
        if (family) {
            family->m_strHusband = store(PointerKey(line, tag));
        }
    } else if (TagIs(line, tag, "WIFE")) {
        if (family) {
            family->m_strWife = store(PointerKey(line, tag));
        }
    } else if (TagIs(line, tag, "CHIL")) {
        if (family) {
            family->AddChild(m_arena, store(PointerKey(line, tag)));
        }
    } else if (TagIs(line, tag, "MARR")) {
        if (m_kind == RecordKind::Family) {
            m_context = Context::Marriage;
        }
    } else if (TagIs(line, tag, "DIV")) {
        if (m_kind == RecordKind::Family) {
            m_context = Context::Divorce;
            const std::string_view value = ValueWord(line, tag);
            if (family && (value.empty() || value[0] != 'N') && family->Details().m_strDivorceDate.empty()) {
                family->EditDetails(m_arena).m_strDivorceDate = ArenaStr::fromStatic(kDivorceWithoutDate);
            }
        }
    } else {
        return false;
    }
    return true;
}

bool RecordParser::handleSourceRow(std::string_view line, std::size_t tag) {
    if (TagIs(line, tag, "DATA")) {
        return true;
    }
    ArenaStr CSource::*field = nullptr;
    if (TagIs(line, tag, "TITL")) {
        field = &CSource::m_strTitle;
    } else if (TagIs(line, tag, "AUTH")) {
        field = &CSource::m_strAuthor;
    } else if (TagIs(line, tag, "PUBL")) {
        field = &CSource::m_strPublication;
    } else if (!TagIs(line, tag, "TEXT")) {
        return false;
    }
    if (m_source) {
        const ArenaStr value = store(ValueWord(line, tag));
        if (field) {
            m_source->*field = value;
        } else {
            m_source->AddTextLine(m_arena, value);
        }
    }
    return true;
}

bool RecordParser::handleHeaderRow(std::string_view line, std::size_t tag) {
    if (TagIs(line, tag, "DATE")) {
        if (m_kind == RecordKind::Header) {
            m_doc.m_strFileDate = ValueFixed(line, tag, 4);
        }
    } else if (TagIs(line, tag, "DEST")) {
        m_doc.m_strDestination = ValueFixed(line, tag, 4);
    } else if (TagIs(line, tag, "CHAR")) {
        const std::string_view value = ValueFixed(line, tag, 4);
        m_doc.m_strCharSet = value;
        if (const auto set = CharSetFromValue(value)) {
            m_charSet = *set;
        }
    } else {
        return false;
    }
    return true;
}

void RecordParser::nameLine(std::string_view value, bool isAlias) {
    SplitName(value, m_nameParts);
    const ArenaStr surname = store(m_nameParts.surname);
    const ArenaStr givenNames = store(m_nameParts.givenNames);
    if (!isAlias && m_person->m_strSurname.empty()) {
        m_person->m_strSurname = surname;
        m_person->m_strGivenNames = givenNames;
    } else {
        m_person->AddAltName(m_arena, surname, givenNames);
    }
}

CNote& RecordParser::makeNote(std::string_view firstLine) {
    CNote& note = m_doc.AddNote(store(MakeGeneratedKey()));
    if (!firstLine.empty()) {
        note.m_pLines.append(m_arena, store(firstLine));
    }
    m_note = &note;
    return note;
}

void RecordParser::noteLikeLine(std::string_view line, std::size_t tag, Context context) {
    m_context = context;
    const PointerOrText value = ValuePointerOrText(line, tag);
    ArenaStr key;
    if (value.isPointer && !value.key.empty()) {
        key = store(value.key);
    } else if (value.text.empty() || context == Context::NoteText) {
        key = makeNote(value.text).m_strID;
    } else {
        const std::string_view prefix = context == Context::Occupation ? "Occupation:  " : "Address:  ";
        std::string text;
        text.reserve(prefix.size() + value.text.size());
        text.append(prefix).append(value.text);
        key = makeNote(text).m_strID;
    }
    if (m_kind == RecordKind::Individual && m_person) {
        m_person->AddNote(m_arena, key);
    } else if (m_kind == RecordKind::Family && m_family) {
        m_family->AddNote(m_arena, key);
    } else if (m_kind == RecordKind::Source && m_source) {
        m_source->AddNote(m_arena, key);
    }
}

void RecordParser::sourceLine(std::string_view line, std::size_t tag, bool isEventCitation) {
    const PointerOrText value = ValuePointerOrText(line, tag);
    ArenaStr key;
    if (value.isPointer) {
        key = store(value.key);
    } else if (!isEventCitation && m_kind == RecordKind::Header) {
        if (!value.text.empty()) {
            m_doc.m_strSourceSystem = value.text;
        }
        return;
    } else {
        CSource& source = m_doc.AddSource(store(MakeGeneratedKey()));
        source.m_strTitle = store(value.text);
        m_source = &source;
        key = source.m_strID;
    }
    if (m_kind == RecordKind::Individual && m_person) {
        if (isEventCitation) {
            m_person->AddEventSource(m_arena, eventNumber(), key);
        } else {
            m_person->AddSource(m_arena, key);
        }
    } else if (m_kind == RecordKind::Family && m_family) {
        if (isEventCitation && m_context == Context::Divorce) {
            m_family->AddDivorceSource(m_arena, key);
        } else {
            m_family->AddSource(m_arena, key);
        }
    }
}

void RecordParser::objectLine(std::string_view line, std::size_t tag) {
    const PointerOrText value = ValuePointerOrText(line, tag);
    ArenaStr key;
    if (value.isPointer) {
        key = store(value.key);
    } else {
        CExtObj& object = m_doc.AddExtObj(store(MakeGeneratedKey()));
        m_extObj = &object;
        key = object.m_strID;
    }
    if (m_kind == RecordKind::Individual && m_person) {
        m_person->AddObject(m_arena, key);
    } else if (m_kind == RecordKind::Family && m_family) {
        m_family->AddObject(m_arena, key);
    } else if (m_kind == RecordKind::Source && m_source) {
        m_source->AddObject(m_arena, key);
    }
}

int RecordParser::eventNumber() const noexcept {
    switch (m_context) {
    case Context::Birth:
        return EVENT_BIRTH;
    case Context::Baptism:
        return EVENT_BAPTISM;
    case Context::Death:
        return EVENT_DEATH;
    case Context::Burial:
        return EVENT_BURIAL;
    default:
        return 0;
    }
}

void RecordParser::appendNoteLine(std::string_view text) {
    if (m_note) {
        m_note->m_pLines.append(m_arena, store(text));
    }
}

void RecordParser::handleLevel2(std::string_view line, std::size_t tag) {
    m_citationData = false;
    m_sourceText = false;
    if (TagIs(line, tag, "DATE")) {
        dateLine(ValueFixed(line, tag, 4));
    } else if (TagIs(line, tag, "PLAC")) {
        placeLine(ValuePlace(line, tag));
    } else if (TagIs(line, tag, "TYPE")) {
        if (m_context == Context::NoteText) {
            appendNoteLine(ValueFixed(line, tag, 4));
        }
    } else if (TagIs(line, tag, "CONT") || TagIs(line, tag, "CONC") || TagIs(line, tag, "NOTE")) {
        if (m_context == Context::NoteText) {
            appendNoteLine(ValueWord(line, tag));
        }
    } else if (TagIs(line, tag, "SOUR")) {
        sourceLine(line, tag, true);
    } else if (TagIs(line, tag, "PAGE")) {
        citationText(ValueFixed(line, tag, 4));
    } else if (TagIs(line, tag, "DATA")) {
        m_citationData = true;
    } else if (TagIs(line, tag, "VERS")) {
        m_doc.m_strGedcomVersion = ValueFixed(line, tag, 4);
    }
}

void RecordParser::dateLine(std::string_view value) {
    if (value.empty()) {
        return;
    }
    if (m_context == Context::NoteText) {
        return appendNoteLine(value);
    }
    std::string readable;
    value = ReadableDate(value, readable);
    if (m_person && (m_context == Context::Birth || m_context == Context::Death)) {
        PersonDetails& details = m_person->EditDetails(m_arena);
        const bool birth = m_context == Context::Birth;
        (birth ? details.m_strBirthDate : details.m_strDeathDate) = store(value);
        (birth ? details.m_strBirthQualifier : details.m_strDeathQualifier) = qualifierText(value);
        (birth ? m_person->m_nBirthYear : m_person->m_nDeathYear) = DateYear(value);
        return;
    }
    if (ArenaStr* field = eventField(&PersonDetails::m_strBaptismDate, &PersonDetails::m_strBurialDate,
                                     &FamilyDetails::m_strMarriageDate, &FamilyDetails::m_strDivorceDate)) {
        *field = store(value);
    }
}

void RecordParser::placeLine(std::string_view value) {
    if (value.empty()) {
        return;
    }
    if (m_context == Context::NoteText) {
        return appendNoteLine(value);
    }
    if (m_person && (m_context == Context::Birth || m_context == Context::Death)) {
        PersonDetails& details = m_person->EditDetails(m_arena);
        (m_context == Context::Birth ? details.m_strBirthPlace : details.m_strDeathPlace) = store(value);
        return;
    }
    if (ArenaStr* field = eventField(&PersonDetails::m_strBaptismPlace, &PersonDetails::m_strBurialPlace,
                                     &FamilyDetails::m_strMarriagePlace, &FamilyDetails::m_strDivorcePlace)) {
        *field = store(value);
    }
}

// The field of the baptism, burial, marriage or divorce the context names, in
// the current person's or family's details; null in any other context.
ArenaStr* RecordParser::eventField(ArenaStr PersonDetails::*baptism, ArenaStr PersonDetails::*burial,
                                   ArenaStr FamilyDetails::*marriage, ArenaStr FamilyDetails::*divorce) {
    switch (m_context) {
    case Context::Baptism:
        return m_person ? &(m_person->EditDetails(m_arena).*baptism) : nullptr;
    case Context::Burial:
        return m_person ? &(m_person->EditDetails(m_arena).*burial) : nullptr;
    case Context::Marriage:
        return m_family ? &(m_family->EditDetails(m_arena).*marriage) : nullptr;
    case Context::Divorce:
        return m_family ? &(m_family->EditDetails(m_arena).*divorce) : nullptr;
    default:
        return nullptr;
    }
}

void RecordParser::citationText(std::string_view value) {
    if (m_kind == RecordKind::Individual && m_person) {
        m_person->AppendEventSourceText(m_arena, eventNumber(), value);
    } else if (m_kind == RecordKind::Family && m_family) {
        if (m_context == Context::Divorce) {
            m_family->AppendDivorceSourceText(m_arena, value);
        } else {
            m_family->AppendSourceText(m_arena, value);
        }
    }
}

void RecordParser::handleLevel3(std::string_view line, std::size_t tag) {
    m_sourceText = false;
    if (TagIs(line, tag, "PAGE")) {
        citationText(ValueFixed(line, tag, 4));
    } else if (TagIs(line, tag, "TEXT")) {
        m_sourceText = true;
        const std::string_view value = ValueFixed(line, tag, 4);
        if (m_citationData) {
            citationText(value);
        } else if (m_source) {
            m_source->AddTextLine(m_arena, store(value));
        }
    }
}

void RecordParser::handleLevel4(std::string_view line, std::size_t tag) {
    if (m_sourceText && m_source && (TagIs(line, tag, "CONT") || TagIs(line, tag, "CONC"))) {
        m_source->AddTextLine(m_arena, store(ValueFixed(line, tag, 4)));
    }
}

} // namespace stirpex
