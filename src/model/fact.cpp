#include "model/fact.h"

namespace stirpex {

namespace {

const FactDetails kNoFactDetails;

} // namespace

const FactDetails& Fact::Details() const noexcept {
    return m_pDetails ? *m_pDetails : kNoFactDetails;
}

FactDetails& Fact::EditDetails(TextArena& arena) {
    if (!m_pDetails) {
        m_pDetails = &arena.make<FactDetails>();
    }
    return *m_pDetails;
}

std::string_view FactParticular(const Fact& fact, std::string_view tag) noexcept {
    for (const ArenaStr& line : fact.Details().m_arrLines) {
        const std::string_view text = line.view();
        if (text.size() > tag.size() && text.substr(0, tag.size()) == tag && text[tag.size()] == ' ') {
            return text.substr(tag.size() + 1);
        }
    }
    return {};
}

Fact& FactList::append(TextArena& arena, ArenaStr tag) {
    Fact& fact = arena.make<Fact>();
    fact.m_strTag = tag;
    (m_pLast ? m_pLast->m_pNext : m_pFirst) = &fact;
    m_pLast = &fact;
    ++m_nFacts;
    return fact;
}

const Fact* FactList::at(std::int32_t position) const noexcept {
    if (position < 0 || position >= m_nFacts) {
        return nullptr;
    }
    const Fact* fact = m_pFirst;
    for (std::int32_t i = 0; i < position; ++i) {
        fact = fact->m_pNext;
    }
    return fact;
}

} // namespace stirpex
