#include "model/fact.h"

#include <algorithm>
#include <vector>

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

void FactList::assign(TextArena& arena, const Fact* facts, std::int32_t count) {
    if (count <= 0) {
        return;
    }
    auto* block = static_cast<Fact*>(arena.allocate(sizeof(Fact) * static_cast<std::size_t>(count), alignof(Fact)));
    std::copy(facts, facts + count, block);
    m_pFacts = block;
    m_nFacts = count;
}

Fact& FactList::append(TextArena& arena, ArenaStr tag) {
    std::vector<Fact> grown(begin(), end());
    grown.push_back(Fact{});
    grown.back().m_strTag = tag;
    assign(arena, grown.data(), static_cast<std::int32_t>(grown.size()));
    return m_pFacts.get()[m_nFacts - 1];
}

} // namespace stirpex
