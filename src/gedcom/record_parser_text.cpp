// The record parser's texts: notes, addresses, source records' text, source
// citations and external references.

#include "gedcom/address_parts.h"
#include "gedcom/html_text.h"
#include "gedcom/record_parser.h"
#include "model/citations.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <string>

namespace stirpex {

namespace {

constexpr std::string_view kAddressLabel = "Address:  ";
constexpr std::string_view kOccupationLabel = "Occupation:  ";
// A citation's text is one text, shown within the notes and sources text, whose
// lines end in CR LF: the lines of a cited text are broken the same way.
constexpr std::string_view kCitationLineBreak = "\r\n";
bool isHtml(std::string_view mediaType) noexcept {
    constexpr std::string_view kHtml = "text/html";
    if (mediaType.size() < kHtml.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kHtml.size(); ++i) {
        const char c = mediaType[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kHtml[i]) {
            return false;
        }
    }
    return mediaType.size() == kHtml.size() || mediaType[kHtml.size()] == ';' || IsBlank(mediaType[kHtml.size()]);
}

} // namespace

bool AddressHas(const ArenaStrList& lines, std::string_view part) noexcept {
    constexpr std::size_t kAddressSearchBytes = 4096;
    std::size_t budget = kAddressSearchBytes;
    for (const ArenaStr& line : lines) {
        if (line.view().substr(0, budget).find(part) != std::string_view::npos) {
            return true;
        }
        if (line.size() >= budget) {
            break;
        }
        budget -= line.size();
    }
    return false;
}

RecordParser::Row RecordParser::handleSourceRow(std::string_view line, std::size_t tag) {
    if (TagIs(line, tag, "DATA")) {
        return Row::Skipped;
    }
    ArenaStr CSource::*field = nullptr;
    if (TagIs(line, tag, "TITL")) {
        field = &CSource::m_strTitle;
    } else if (TagIs(line, tag, "AUTH")) {
        field = &CSource::m_strAuthor;
    } else if (TagIs(line, tag, "PUBL")) {
        field = &CSource::m_strPublication;
    } else if (!TagIs(line, tag, "TEXT")) {
        return Row::NotMatched;
    }
    if (!source()) {
        return Row::Skipped;
    }
    const ArenaStr value = store(text(ValueWord(line, tag)));
    if (field) {
        m_source->*field = value;
    } else {
        m_source->AddTextLine(m_arena, value);
        m_context = Context::SourceText;
    }
    return Row::Used;
}

CNote& RecordParser::makeNote(std::string_view firstLine) {
    CNote& note = m_doc.AddNote(generatedKey());
    if (!firstLine.empty()) {
        note.m_pLines.append(m_arena, store(firstLine));
    }
    m_note = &note;
    made(kNote);
    return note;
}

bool RecordParser::noteLikeLine(std::string_view line, std::size_t tag, Context context) {
    m_context = context;
    const PointerOrText value = ValuePointerOrText(line, tag);
    ArenaStr key;
    if (value.isPointer && !value.key.empty()) {
        if (isVoid(value.key)) {
            m_context = Context::None; // nothing for the lines under it to go to
            return false;
        }
        key = storeShared(value.key);
    } else {
        const std::string_view body = text(value.text);
        if (body.empty() || context == Context::NoteText) {
            key = makeNote(body).m_strID;
        } else {
            const std::string_view label = context == Context::Occupation ? kOccupationLabel : kAddressLabel;
            std::string labelled;
            labelled.reserve(label.size() + body.size());
            labelled.append(label).append(body);
            key = makeNote(labelled).m_strID;
        }
        (context == Context::Address ? m_addressNote : m_lineNote) = note();
    }
    if (m_kind == RecordKind::Individual && m_person) {
        m_person->AddNote(m_arena, key);
    } else if (m_kind == RecordKind::Family && m_family) {
        m_family->AddNote(m_arena, key);
    } else if (m_kind == RecordKind::Source && source()) {
        m_source->AddNote(m_arena, key);
    } else {
        return !value.isPointer || value.key.empty(); // a note made is counted, linked or not
    }
    return true;
}

bool RecordParser::appendNoteLine(std::string_view value) {
    if (!note()) {
        return false;
    }
    m_note->m_pLines.append(m_arena, store(text(value)));
    return true;
}

// Level-2 CONT, CONC and NOTE lines. An address and a source record's text are
// continued by CONT alone: any other line there has nothing to continue, as before.
bool RecordParser::continuationLine(std::string_view line, std::size_t tag) {
    const std::string_view value = ValueWord(line, tag);
    switch (m_context) {
    case Context::NoteText:
        return appendNoteLine(value);
    case Context::Address:
        return TagIs(line, tag, "CONT") && addressLine(value);
    case Context::SourceText:
        if (!TagIs(line, tag, "CONT") || !source()) {
            return false;
        }
        m_source->AddTextLine(m_arena, store(text(value)));
        return true;
    default:
        return false;
    }
}

// A line of the address the ADDR line made; the first one with text is labelled.
bool RecordParser::addressLine(std::string_view value) {
    value = text(value);
    if (!m_addressNote || (m_addressNote->m_pLines.empty() && value.empty())) {
        return false;
    }
    if (!m_addressNote->m_pLines.empty()) {
        m_addressNote->m_pLines.append(m_arena, store(value));
        return true;
    }
    std::string labelled;
    labelled.reserve(kAddressLabel.size() + value.size());
    labelled.append(kAddressLabel).append(value);
    m_addressNote->m_pLines.append(m_arena, store(labelled));
    return true;
}

bool RecordParser::addressPartLine(std::string_view line, std::size_t tag) {
    const std::string_view value = text(ValueFixed(line, tag, 4));
    if (!IsAddressPart(line, tag) || !m_addressNote || value.empty() || AddressHas(m_addressNote->m_pLines, value)) {
        return false;
    }
    return addressLine(value);
}

// A note written as HTML is kept as the plain text a reader sees. Its text
// is converted once: a further MIME line changes nothing (converting again
// would decode the text twice, and many such lines would take quadratic time).
bool RecordParser::mimeLine(CNote*& note, std::string_view value) {
    if (!note) {
        return false;
    }
    if (!isHtml(value)) {
        return true;
    }
    std::string html;
    for (int i = 0; i < note->m_pLines.size(); ++i) {
        if (i > 0) {
            html += '\n';
        }
        html.append(note->m_pLines[i].view());
    }
    const std::string plain = HtmlToPlainText(html);
    ArenaStrList lines;
    for (std::size_t begin = 0; begin < plain.size();) {
        const std::size_t end = std::min(plain.find('\n', begin), plain.size());
        lines.append(m_arena, store(std::string_view(plain).substr(begin, end - begin)));
        begin = end + 1;
    }
    note->m_pLines = lines;
    note = nullptr;
    return true;
}

bool RecordParser::sourceLine(std::string_view line, std::size_t tag, bool isEventCitation) {
    const PointerOrText value = ValuePointerOrText(line, tag);
    ArenaStr key;
    m_citedSource = nullptr;
    made(kCitedSource);
    if (value.isPointer && isVoid(value.key)) {
        m_voidCitationLevel = isEventCitation ? 2 : 1;
        m_citationTexts = nullptr;
        return false;
    }
    if (value.isPointer) {
        key = storeShared(value.key);
    } else if (!isEventCitation && m_kind == RecordKind::Header) {
        if (value.text.empty()) {
            return false;
        }
        headerField();
        m_doc.m_strSourceSystem = text(value.text);
        return true;
    } else {
        CSource& source = m_doc.AddSource(generatedKey());
        source.m_strTitle = store(text(value.text));
        m_source = &source;
        made(kSource);
        m_citedSource = &source;
        key = source.m_strID;
    }
    m_voidCitationLevel = 0;
    if (!inFactRecord()) {
        return !value.isPointer; // a source made is counted, cited or not
    }
    addCitation(key);
    m_citationLevel = isEventCitation ? 2 : 1;
    return true;
}

// A citation of the current fact, or of the record itself; PAGE and TEXT
// lines under it are glued to its text.
void RecordParser::addCitation(ArenaStr key) {
    if (m_context == Context::Fact && m_fact) {
        FactDetails& details = m_fact->EditDetails(m_arena);
        details.m_arrSources.append(m_arena, key);
        details.m_arrSourceTexts.append(m_arena, ArenaStr());
        m_citationTexts = &details.m_arrSourceTexts;
    } else if (m_kind == RecordKind::Individual) {
        m_person->AddSource(m_arena, key);
        m_citationTexts = &m_person->EditDetails(m_arena).m_arrSourceTexts;
    } else {
        m_family->AddSource(m_arena, key);
        m_citationTexts = &m_family->EditDetails(m_arena).m_arrSourceTexts;
    }
}

// FILE, FORM and TITL of the current external reference, under its record's
// FILE or an OBJE line; the first of each counts.
bool RecordParser::objectPartLine(std::string_view line, std::size_t tag) {
    if (!extObj()) {
        return false;
    }
    ArenaStr* field = nullptr;
    if (TagIs(line, tag, "FILE")) {
        field = &m_extObj->m_strFile;
    } else if (TagIs(line, tag, "FORM")) {
        field = &m_extObj->m_strForm;
    } else if (TagIs(line, tag, "TITL")) {
        field = &m_extObj->m_strTitle;
    }
    const std::string_view value = text(ValueFixed(line, tag, 4));
    if (field == nullptr || !field->empty() || value.empty()) {
        return false;
    }
    *field = store(value);
    return true;
}

// The key an OBJE line names, or that of the external reference it makes
// inline (which becomes the current one); an empty key for @VOID@.
RecordParser::ObjectReference RecordParser::objectReference(std::string_view line, std::size_t tag) {
    const PointerOrText value = ValuePointerOrText(line, tag);
    if (value.isPointer) {
        return {isVoid(value.key) ? ArenaStr() : storeShared(value.key), false};
    }
    CExtObj& object = m_doc.AddExtObj(generatedKey());
    m_extObj = &object;
    made(kExtObj);
    return {object.m_strID, true};
}

bool RecordParser::objectLine(std::string_view line, std::size_t tag) {
    const ObjectReference object = objectReference(line, tag);
    const ArenaStr key = object.key;
    if (key.empty()) {
        return false;
    }
    if (m_kind == RecordKind::Individual && m_person) {
        m_person->AddObject(m_arena, key);
    } else if (m_kind == RecordKind::Family && m_family) {
        m_family->AddObject(m_arena, key);
    } else if (m_kind == RecordKind::Source && source()) {
        m_source->AddObject(m_arena, key);
    } else {
        return object.made; // a reference made is counted, linked or not
    }
    return true;
}

// Glued to the current citation without a separator; the lines under a
// SOUR @VOID@ cite nothing.
bool RecordParser::citationText(std::string_view value) {
    if (m_voidCitationLevel > 0 || !m_citationTexts) {
        return false;
    }
    detail::appendCitationText(m_arena, *m_citationTexts, value);
    return true;
}

bool RecordParser::handleLevel3(std::string_view line, std::size_t tag) {
    if (inFactRecord()) {
        return handleRecordDeeper(line, tag, 3);
    }
    if (m_kind == RecordKind::ExtObj && objectPartLine(line, tag)) {
        return true;
    }
    m_textTarget = TextTarget::None;
    if (TagIs(line, tag, "PAGE")) {
        return citationText(text(ValueFixed(line, tag, 4)));
    }
    if (!TagIs(line, tag, "TEXT")) {
        return false;
    }
    const std::string_view value = text(ValueFixed(line, tag, 4));
    if (m_citationData) {
        m_textTarget = TextTarget::Citation;
        return citationText(value);
    }
    m_textTarget = TextTarget::Source;
    if (!source()) {
        return false;
    }
    m_source->AddTextLine(m_arena, store(value));
    return true;
}

// The continuations of a level-3 TEXT: a cited text's lines stay in the
// citation, one line each; other TEXT lines go to the current source as before.
bool RecordParser::handleLevel4(std::string_view line, std::size_t tag) {
    if (inFactRecord()) {
        return handleRecordDeeper(line, tag, 4);
    }
    if (!TagIs(line, tag, "CONT") && !TagIs(line, tag, "CONC")) {
        return false;
    }
    const std::string_view value = text(ValueFixed(line, tag, 4));
    switch (m_textTarget) {
    case TextTarget::Source:
        if (!source()) {
            return false;
        }
        m_source->AddTextLine(m_arena, store(value));
        return true;
    case TextTarget::Citation: {
        std::string next(kCitationLineBreak);
        next.append(value);
        return citationText(next);
    }
    case TextTarget::None:
        break;
    }
    return false;
}

} // namespace stirpex
