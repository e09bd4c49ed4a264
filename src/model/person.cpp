#include "model/person.h"

#include "model/citations.h"

namespace stirpex {

namespace {

void appendYear(std::string& out, std::string_view qualifier, int year) {
    out += qualifier;
    if (year == -1) {
        out += '?';
    } else {
        out += std::to_string(year);
    }
}

} // namespace

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
    return formatParts(m_arrAltSurnames[i].view(), m_arrAltGivenNames[i].view(), style);
}

std::string CPerson::GetLifeSpan() const {
    std::string span = " (";
    appendYear(span, m_strBirthQualifier.view(), m_nBirthYear);
    span += '-';
    appendYear(span, m_strDeathQualifier.view(), m_nDeathYear);
    span += ')';
    return span;
}

void CPerson::AddAltName(TextArena& arena, ArenaStr surname, ArenaStr givenNames) {
    m_arrAltSurnames.append(arena, surname);
    m_arrAltGivenNames.append(arena, givenNames);
    ++m_nAltNames;
}

void CPerson::AddSpouseFamily(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrSpouseFamilies, m_nSpouseFamilies, key);
}

void CPerson::AddNote(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrNotes, m_nNotes, key);
}

void CPerson::AddObject(TextArena& arena, ArenaStr key) {
    detail::addKey(arena, m_arrObjects, m_nObjects, key);
}

void CPerson::AddSource(TextArena& arena, ArenaStr key) {
    detail::addCitation(arena, m_arrSources, m_arrSourceTexts, m_nSources, key);
}

void CPerson::AppendSourceText(TextArena& arena, std::string_view text) {
    detail::appendCitationText(arena, m_arrSourceTexts, text);
}

void CPerson::AddEventSource(TextArena& arena, int event, ArenaStr key) {
    switch (event) {
    case EVENT_BIRTH:
        return detail::addCitation(arena, m_arrBirthSources, m_arrBirthSourceTexts, m_nBirthSources, key);
    case EVENT_BAPTISM:
        return detail::addCitation(arena, m_arrBaptismSources, m_arrBaptismSourceTexts, m_nBaptismSources, key);
    case EVENT_DEATH:
        return detail::addCitation(arena, m_arrDeathSources, m_arrDeathSourceTexts, m_nDeathSources, key);
    case EVENT_BURIAL:
        return detail::addCitation(arena, m_arrBurialSources, m_arrBurialSourceTexts, m_nBurialSources, key);
    default:
        return AddSource(arena, key);
    }
}

void CPerson::AppendEventSourceText(TextArena& arena, int event, std::string_view text) {
    switch (event) {
    case EVENT_BIRTH:
        return detail::appendCitationText(arena, m_arrBirthSourceTexts, text);
    case EVENT_BAPTISM:
        return detail::appendCitationText(arena, m_arrBaptismSourceTexts, text);
    case EVENT_DEATH:
        return detail::appendCitationText(arena, m_arrDeathSourceTexts, text);
    case EVENT_BURIAL:
        return detail::appendCitationText(arena, m_arrBurialSourceTexts, text);
    default:
        return AppendSourceText(arena, text);
    }
}

} // namespace stirpex
