#include "model/person.h"

#include "model/citations.h"
#include "model/date_year.h"

namespace stirpex {

namespace {

const PersonDetails kNoDetails;

} // namespace

const PersonDetails& CPerson::Details() const noexcept {
    return m_pDetails ? *m_pDetails : kNoDetails;
}

PersonDetails& CPerson::EditDetails(TextArena& arena) {
    if (!m_pDetails) {
        m_pDetails = &arena.make<PersonDetails>();
    }
    return *m_pDetails;
}

std::string CPerson::formatParts(std::string_view surname, std::string_view givenNames, int style) const {
    std::string name;
    if (style == 0) {
        name.reserve(givenNames.size() + surname.size() + 1);
        name.append(givenNames).append(" ").append(surname);
        return name;
    }
    name.reserve(givenNames.size() + surname.size() + 16);
    name.append(surname).append(", ").append(givenNames);
    if (style != 1) {
        name += GetLifeSpan();
    }
    return name;
}

std::string CPerson::FormatName(int style) const {
    return formatParts(m_strSurname.view(), m_strGivenNames.view(), style);
}

std::string CPerson::FormatAltName(int i, int style) const {
    const PersonDetails& details = Details();
    return formatParts(details.m_arrAltSurnames[i].view(), details.m_arrAltGivenNames[i].view(), style);
}

std::string CPerson::GetLifeSpan() const {
    std::string span = " (";
    span += Details().m_strBirthQualifier.view();
    AppendYear(span, m_nBirthYear);
    span += '-';
    span += Details().m_strDeathQualifier.view();
    AppendYear(span, m_nDeathYear);
    span += ')';
    return span;
}

void CPerson::AddAltName(TextArena& arena, ArenaStr surname, ArenaStr givenNames) {
    PersonDetails& details = EditDetails(arena);
    details.m_arrAltSurnames.append(arena, surname);
    details.m_arrAltGivenNames.append(arena, givenNames);
    ++details.m_nAltNames;
}

void CPerson::AddSpouseFamily(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrSpouseFamilies, m_nSpouseFamilies, key);
}

void CPerson::AddNote(TextArena& arena, ArenaStr key) {
    PersonDetails& details = EditDetails(arena);
    detail::addKey(arena, details.m_arrNotes, details.m_nNotes, key);
}

void CPerson::AddObject(TextArena& arena, ArenaStr key) {
    PersonDetails& details = EditDetails(arena);
    detail::addKey(arena, details.m_arrObjects, details.m_nObjects, key);
}

void CPerson::AddSource(TextArena& arena, ArenaStr key) {
    PersonDetails& details = EditDetails(arena);
    detail::addCitation(arena, details.m_arrSources, details.m_arrSourceTexts, details.m_nSources, key);
}

void CPerson::AppendSourceText(TextArena& arena, std::string_view text) {
    if (m_pDetails) {
        detail::appendCitationText(arena, m_pDetails->m_arrSourceTexts, text);
    }
}

} // namespace stirpex
