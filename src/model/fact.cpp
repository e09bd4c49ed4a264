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
