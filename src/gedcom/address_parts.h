#pragma once

// The structured parts of an address (ADR1, ADR2, ADR3, CITY, STAE, POST,
// CTRY). Most writers put them in the address's own lines as well; a part is
// added as a line of its own only where those lines lack it.

#include "gedcom/gedcom_line.h"
#include "model/text_arena.h"

#include <string_view>

namespace stirpex {

inline bool IsAddressPart(std::string_view line, std::size_t tag) noexcept {
    return TagIs(line, tag, "ADR1") || TagIs(line, tag, "ADR2") || TagIs(line, tag, "ADR3") ||
           TagIs(line, tag, "CITY") || TagIs(line, tag, "STAE") || TagIs(line, tag, "POST") || TagIs(line, tag, "CTRY");
}

// Whether the address's lines already hold `part`. Only the first 4 KiB are
// searched, so that no file can make the search slow.
bool AddressHas(const ArenaStrList& lines, std::string_view part) noexcept;

} // namespace stirpex
