// The record parser's individual and family records: their members, facts,
// names and the lines kept under them.

#include "gedcom/address_parts.h"
#include "gedcom/record_parser.h"
#include "model/date_year.h"
#include "model/readable_date.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <string>

namespace stirpex {

namespace {

// A kept line's text: each level below the one its fact stands at adds this.
constexpr std::size_t kIndentPerLevel = 2;

ArenaStr qualifierText(std::string_view date) {
    const std::string_view q = DateQualifier(date);
    if (q.empty()) {
        return {};
    }
    static const ArenaStr kAbout = PermanentText("c");
    static const ArenaStr kBefore = PermanentText("<");
    static const ArenaStr kAfter = PermanentText(">");
    return q == "c" ? kAbout : q == "<" ? kBefore : kAfter;
}

// The tag word of a line: from the tag position to the first blank.
std::string_view tagWord(std::string_view line, std::size_t tag) noexcept {
    if (tag >= line.size()) {
        return {};
    }
    std::size_t end = tag;
    while (end < line.size() && !IsBlank(line[end])) {
        ++end;
    }
    return line.substr(tag, end - tag);
}

std::string_view valueAfterWord(std::string_view line, std::size_t tag) noexcept {
    return line.substr(SkipBlanks(line, tag + tagWord(line, tag).size()));
}

} // namespace

bool RecordParser::inFactRecord() const noexcept {
    return (m_kind == RecordKind::Individual && m_person) || (m_kind == RecordKind::Family && m_family);
}

// A fact of the record being read. The facts gathered so far may move, so
// only the newest is held (m_fact), and a text it grows starts anew.
Fact& RecordParser::newFact(ArenaStr tag) {
    Fact& fact = m_recordFacts.emplace_back();
    fact.m_strTag = tag;
    m_growing = nullptr;
    return fact;
}

void RecordParser::storeFacts() {
    if (!m_recordFacts.empty() && inFactRecord()) {
        const auto count = static_cast<std::int32_t>(m_recordFacts.size());
        FactList& facts = m_kind == RecordKind::Individual ? m_person->EditDetails(m_arena).m_facts
                                                           : m_family->EditDetails(m_arena).m_facts;
        facts.assign(m_arena, m_recordFacts.data(), count);
    }
    m_recordFacts.clear();
    m_fact = nullptr;
}

void RecordParser::Finish() {
    storeFacts();
}

bool RecordParser::handleRecordLevel1(std::string_view line, std::size_t tag) {
    const Row row =
        m_kind == RecordKind::Individual ? handleIndividualRow(line, tag) : handleFamilyMemberRow(line, tag);
    if (row == Row::Used) {
        m_nameLine = m_kind == RecordKind::Individual && TagIs(line, tag, "NAME");
        holdLevel1(line, tag);
        return true;
    }
    // Read wherever they stand, as they always were.
    if (TagIs(line, tag, "CHAR") || TagIs(line, tag, "DEST")) {
        return handleHeaderRow(line, tag) == Row::Used;
    }
    bool used = false;
    if (row == Row::Skipped) {
        used = false; // a pointer that names nobody, an alias by pointer: kept as a fact below
    } else if (TagIs(line, tag, "NOTE") || TagIs(line, tag, "HIST")) {
        used = noteLikeLine(line, tag, Context::NoteText);
    } else if (TagIs(line, tag, "SNOTE")) {
        used = noteLikeLine(line, tag + 1, Context::NoteText); // its value follows "NOTE", as a NOTE line's
    } else if (TagIs(line, tag, "SOUR")) {
        used = sourceLine(line, tag, false);
    } else if (TagIs(line, tag, "OBJE")) {
        used = objectLine(line, tag);
        if (used && !ValuePointerOrText(line, tag).isPointer) {
            m_sub = Sub::Object; // its FILE, FORM and TITL describe the reference just made
            m_subLevel = 1;
        }
    }
    if (used) {
        holdLevel1(line, tag);
    } else {
        m_context = Context::None;
        startFact(line, tag);
    }
    return true;
}

RecordParser::Row RecordParser::handleFamilyMemberRow(std::string_view line, std::size_t tag) {
    const bool husband = TagIs(line, tag, "HUSB");
    const bool wife = !husband && TagIs(line, tag, "WIFE");
    if (!husband && !wife && !TagIs(line, tag, "CHIL")) {
        return Row::NotMatched;
    }
    const std::string_view key = PointerKey(line, tag);
    if (isVoid(key)) {
        return Row::Skipped;
    }
    if (husband) {
        keepReplacedLink("HUSB", m_family->m_strHusband);
        m_family->m_strHusband = storeShared(key);
    } else if (wife) {
        keepReplacedLink("WIFE", m_family->m_strWife);
        m_family->m_strWife = storeShared(key);
    } else {
        m_family->AddChild(m_arena, storeShared(key));
    }
    return Row::Used;
}

// A text continued line by line grows in place: copying it whole for each
// line took time and memory in the square of its length.
ArenaStr RecordParser::grow(ArenaStr text, const void* owner, std::string_view separator, std::string_view more) {
    if (m_growing != owner) {
        text = m_arena.append(ArenaStr(), text.view());
        m_growing = owner;
    }
    return m_arena.append(m_arena.append(text, separator), more);
}

// A later line of a kind of which the record keeps one (the name shown, the
// sex, the parents' family, a spouse) wins, as it always has; the earlier one
// is kept as a fact, unless the lines under it made one already.
void RecordParser::keepReplaced(std::string_view tag, std::string_view value) {
    if (value.empty()) {
        return;
    }
    // The fact the earlier line's own lines made is among the last few; a
    // bounded look keeps a record of a million such lines from taking
    // quadratic time (at worst a line is then kept twice, never lost).
    constexpr std::size_t kLookBack = 32;
    const std::size_t from = m_recordFacts.size() - std::min(m_recordFacts.size(), kLookBack);
    for (std::size_t i = from; i < m_recordFacts.size(); ++i) {
        const Fact& fact = m_recordFacts[i];
        if (fact.m_strTag.view() == tag && fact.m_strValue.view().starts_with(value)) {
            return;
        }
    }
    Fact* current = m_fact ? &heldFact() : nullptr;
    const std::ptrdiff_t at = current ? current - m_recordFacts.data() : -1;
    newFact(KnownTagText(tag)).m_strValue = store(value);
    m_fact = at >= 0 ? &m_recordFacts[static_cast<std::size_t>(at)] : nullptr;
}

void RecordParser::keepReplacedLink(std::string_view tag, ArenaStr key) {
    if (!key.empty()) {
        // Appended rather than "@" + key + "@", which GCC 12 misreads as an overlapping copy when optimising.
        std::string pointer(1, '@');
        pointer += key.view();
        pointer += '@';
        keepReplaced(tag, pointer);
    }
}

// Most level-1 lines have nothing under them that needs keeping: the line is
// copied as it is, and taken apart only when a fact has to be made for it.
void RecordParser::holdLevel1(std::string_view line, std::size_t tag) {
    m_heldLine.assign(line.substr(std::min(tag, line.size())));
    made(kHeldLine);
}

void RecordParser::startFact(std::string_view line, std::size_t tag) {
    const std::string_view word = tagWord(line, tag);
    ArenaStr tagText = KnownTagText(word);
    Fact& fact = newFact(tagText.empty() ? store(word) : tagText);
    m_fact = &fact;
    m_context = Context::Fact;
    m_event = ClassicEventOf(word, m_kind == RecordKind::Family);
    const std::string_view value = text(valueAfterWord(line, tag));
    if (word == "ADDR") {
        m_sub = Sub::Address;
        m_subLevel = 1;
        if (!value.empty()) {
            fact.EditDetails(m_arena).m_arrAddress.append(m_arena, store(value));
        }
    } else if (!value.empty()) {
        fact.m_strValue = store(value);
    }
}

Fact& RecordParser::heldFact() {
    if (!m_fact) {
        use(kHeldLine);
        const std::string_view word = tagWord(m_heldLine, 0);
        const std::string_view value = text(valueAfterWord(m_heldLine, 0));
        ArenaStr tagText = KnownTagText(word);
        Fact& fact = newFact(tagText.empty() ? store(word) : tagText);
        if (!value.empty()) {
            fact.m_strValue = store(value);
        }
        m_fact = &fact;
    }
    return *m_fact;
}

// A line no rule takes, as "TAG value" from its tag on, indented by its depth
// below the fact's own line.
bool RecordParser::keepLine(std::string_view line, std::size_t tag, int level) {
    if (!inFactRecord() || tag >= line.size()) {
        return false;
    }
    std::string kept(kIndentPerLevel * static_cast<std::size_t>(std::max(level - 2, 0)), ' ');
    kept.append(line.substr(tag));
    const bool underCitation = (m_citationTexts && level > m_citationLevel) || m_voidCitationLevel > 0;
    if (underCitation && !m_fact) { // under the record's own citation: no fact to hold it
        ArenaStrList& lines = m_kind == RecordKind::Individual ? m_person->EditDetails(m_arena).m_arrCitationLines
                                                               : m_family->EditDetails(m_arena).m_arrCitationLines;
        lines.append(m_arena, store(kept));
        return true;
    }
    FactDetails& details = heldFact().EditDetails(m_arena);
    (underCitation ? details.m_arrCitationLines : details.m_arrLines).append(m_arena, store(kept));
    return true;
}

bool RecordParser::handleRecordLevel2(std::string_view line, std::size_t tag) {
    if (m_sub != Sub::None && m_subLevel == 1 && handleSubLine(line, tag)) {
        return true;
    }
    if (m_context == Context::Fact) {
        return handleFactLevel2(line, tag) || keepLine(line, tag, 2);
    }
    if (m_nameLine && nameSubLine(line, tag)) {
        return true;
    }
    if (citationPartLine(line, tag, 2)) {
        return true;
    }
    const bool citationPart = TagIs(line, tag, "PAGE") || TagIs(line, tag, "DATA");
    return (!citationPart && handleOtherLevel2(line, tag)) || keepLine(line, tag, 2);
}

bool RecordParser::handleRecordDeeper(std::string_view line, std::size_t tag, int level) {
    if (m_sub != Sub::None && level == m_subLevel + 1 && handleSubLine(line, tag)) {
        return true;
    }
    // Before GEDCOM 7 an object's FORM stands under its FILE.
    if (m_sub == Sub::Object && level == m_subLevel + 2 && TagIs(line, tag, "FORM") && objectPartLine(line, tag)) {
        return true;
    }
    return citationPartLine(line, tag, level) || keepLine(line, tag, level);
}

bool RecordParser::handleFactLevel2(std::string_view line, std::size_t tag) {
    m_sub = Sub::None;
    m_citationTexts = nullptr;
    m_citationLevel = 0;
    m_textTarget = TextTarget::None;
    if (TagIs(line, tag, "DATE")) {
        m_sub = Sub::Date;
        m_subLevel = 2;
        m_dateTimed = false;
        return factDateLine(ValueFixed(line, tag, 4));
    }
    if (TagIs(line, tag, "PLAC")) {
        const std::string_view value = text(ValuePlace(line, tag));
        if (!value.empty()) {
            m_fact->m_strPlace = storeShared(value);
        }
        return true;
    }
    if (TagIs(line, tag, "SOUR")) {
        return sourceLine(line, tag, true);
    }
    if (TagIs(line, tag, "NOTE") || TagIs(line, tag, "SNOTE")) {
        return factNoteLine(line, TagIs(line, tag, "SNOTE") ? tag + 1 : tag);
    }
    if (TagIs(line, tag, "OBJE")) {
        return factObjectLine(line, tag);
    }
    if (TagIs(line, tag, "ADDR")) {
        m_sub = Sub::Address;
        m_subLevel = 2;
        const std::string_view value = text(ValueFixed(line, tag, 4));
        if (!value.empty()) {
            m_fact->EditDetails(m_arena).m_arrAddress.append(m_arena, store(value));
        }
        return true;
    }
    if (TagIs(line, tag, "CONT") && tagWord(line, tag).size() == 4) {
        m_fact->m_strValue = grow(m_fact->m_strValue, m_fact, "\n", text(ValueFixed(line, tag, 4)));
        return true;
    }
    return factFieldLine(line, tag);
}

// TYPE (and an association's RELA or ROLE), taken once; a second one is
// kept as a line, as AGE, CAUS and AGNC are.
bool RecordParser::factFieldLine(std::string_view line, std::size_t tag) {
    const std::string_view word = tagWord(line, tag);
    const std::string_view value = text(valueAfterWord(line, tag));
    if ((word != "TYPE" && word != "RELA" && word != "ROLE") || value.empty() || !m_fact->Details().m_strType.empty()) {
        return false;
    }
    m_fact->EditDetails(m_arena).m_strType = store(value);
    return true;
}

// An empty DATE or PLAC says nothing, and nothing of it needs keeping.
bool RecordParser::factDateLine(std::string_view value) {
    if (value.empty()) {
        return true;
    }
    std::string readable;
    value = ReadableDate(value, readable);
    m_fact->m_strDate = store(value);
    if (m_kind == RecordKind::Individual && (m_event == ClassicEvent::Birth || m_event == ClassicEvent::Death)) {
        PersonDetails& details = m_person->EditDetails(m_arena);
        const bool birth = m_event == ClassicEvent::Birth;
        (birth ? details.m_strBirthQualifier : details.m_strDeathQualifier) = qualifierText(value);
        (birth ? m_person->m_nBirthYear : m_person->m_nDeathYear) = DateYear(value);
    }
    return true;
}

// The lines under a fact's DATE, ADDR, NOTE or OBJE line, or under a
// level-1 ADDR or OBJE.
bool RecordParser::handleSubLine(std::string_view line, std::size_t tag) {
    switch (m_sub) {
    case Sub::Date:
        if (TagIs(line, tag, "TIME") && m_fact && !m_fact->m_strDate.empty() && !m_dateTimed) {
            std::string dated(m_fact->m_strDate.view());
            dated.append(" ").append(text(ValueFixed(line, tag, 4)));
            m_fact->m_strDate = store(dated);
            m_dateTimed = true;
            return true;
        }
        return false;
    case Sub::Address:
        return m_fact && factAddressLine(line, tag);
    case Sub::Note:
        return (TagIs(line, tag, "CONT") || TagIs(line, tag, "CONC")) && appendNoteLine(ValueWord(line, tag));
    case Sub::Object:
        return objectPartLine(line, tag);
    case Sub::None:
        break;
    }
    return false;
}

bool RecordParser::factAddressLine(std::string_view line, std::size_t tag) {
    ArenaStrList& address = m_fact->EditDetails(m_arena).m_arrAddress;
    if (TagIs(line, tag, "CONT")) {
        address.append(m_arena, store(text(ValueWord(line, tag))));
        return true;
    }
    if (!IsAddressPart(line, tag)) {
        return false;
    }
    const std::string_view value = text(ValueFixed(line, tag, 4));
    if (!value.empty() && !AddressHas(address, value)) {
        address.append(m_arena, store(value));
    }
    return true;
}

bool RecordParser::factNoteLine(std::string_view line, std::size_t tag) {
    const PointerOrText value = ValuePointerOrText(line, tag);
    ArenaStr key;
    if (value.isPointer && !value.key.empty()) {
        if (isVoid(value.key)) {
            return false;
        }
        key = storeShared(value.key);
    } else {
        key = makeNote(text(value.text)).m_strID;
        m_lineNote = note();
        m_sub = Sub::Note;
        m_subLevel = 2;
    }
    m_fact->EditDetails(m_arena).m_arrNotes.append(m_arena, key);
    return true;
}

bool RecordParser::factObjectLine(std::string_view line, std::size_t tag) {
    const ObjectReference object = objectReference(line, tag);
    if (object.key.empty()) {
        return false;
    }
    if (object.made) {
        m_sub = Sub::Object;
        m_subLevel = 2;
    }
    m_fact->EditDetails(m_arena).m_arrObjects.append(m_arena, object.key);
    return true;
}

// GIVN and SURN that repeat the name's own parts (or one of its given names)
// say nothing new; every
// other part (a nickname, a prefix, the name's TYPE) is kept as a line.
bool RecordParser::nameSubLine(std::string_view line, std::size_t tag) {
    const std::string_view word = tagWord(line, tag);
    const std::string_view value = text(valueAfterWord(line, tag));
    const auto within = [](std::string_view part, std::string_view whole) {
        return !part.empty() && whole.find(part) != std::string_view::npos;
    };
    return (word == "GIVN" && within(value, m_nameParts.givenNames)) ||
           (word == "SURN" && within(value, m_nameParts.surname));
}

// The parts of the current citation: PAGE and DATA one level below its SOUR,
// DATA's TEXT two, and that text's continuations three; an inline source's
// TEXT one level below, continued two.
bool RecordParser::citationPartLine(std::string_view line, std::size_t tag, int level) {
    if (!m_citationTexts || m_voidCitationLevel > 0) {
        return false;
    }
    const int depth = level - m_citationLevel;
    const bool continuation = TagIs(line, tag, "CONT") || TagIs(line, tag, "CONC");
    const std::string_view value = text(ValueFixed(line, tag, 4));
    if (depth == 1) {
        m_textTarget = TextTarget::None;
        if (TagIs(line, tag, "PAGE")) {
            return citationText(value);
        }
        if (TagIs(line, tag, "DATA")) {
            m_citationData = true;
            return true;
        }
        if (TagIs(line, tag, "TEXT") && citedSource()) {
            m_citedSource->AddTextLine(m_arena, store(value));
            m_textTarget = TextTarget::Source;
            return true;
        }
        if (continuation && citedSource()) {
            // A title is shown on one line: its continuation lines join with a blank.
            const std::string_view separator = TagIs(line, tag, "CONT") ? " " : "";
            m_citedSource->m_strTitle = grow(m_citedSource->m_strTitle, m_citedSource, separator, value);
            return true;
        }
        return false;
    }
    if (depth == 2) {
        if (TagIs(line, tag, "TEXT") && m_citationData) {
            m_textTarget = TextTarget::Citation;
            return citationText(value);
        }
        if (continuation && m_textTarget == TextTarget::Source && citedSource()) {
            m_citedSource->AddTextLine(m_arena, store(value));
            return true;
        }
        m_textTarget = TextTarget::None;
        return false;
    }
    if (depth == 3 && continuation && m_textTarget == TextTarget::Citation) {
        std::string next("\r\n");
        next.append(value);
        return citationText(next);
    }
    return false;
}

} // namespace stirpex
