#include "find/go_to.h"

#include "model/stirpex_doc.h"

#include <algorithm>

namespace stirpex {

namespace {

// Keys are ASCII in practice; other bytes must match as they are.
constexpr char foldAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) noexcept {
    return std::ranges::equal(a, b, [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

} // namespace

const CPerson* FindGoToPerson(const CStirpexDoc& doc, std::string_view typed) {
    if (const CPerson* exact = doc.FindPerson(typed)) {
        return exact;
    }
    // The table keeps the file's order, so the first found is the first in the file.
    const auto found = std::ranges::find_if(
        doc.m_ppPersons, [typed](const auto& person) { return equalIgnoringCase(person->m_strID.view(), typed); });
    return found == doc.m_ppPersons.end() ? nullptr : found->get();
}

const CPerson* AcceptGoTo(CStirpexDoc& doc, std::string_view typed) {
    doc.m_strGoToID = typed;
    return FindGoToPerson(doc, doc.m_strGoToID);
}

} // namespace stirpex
