#pragma once

// The year and the qualifier the page and the trees show for a birth or a
// death, read from the date text as written ("ABT 1850/51" gives c and 1850).

#include <string_view>

namespace stirpex {

// The last run of exactly four decimal digits, or -1; a text of three
// characters (code points) or fewer has no year.
int DateYear(std::string_view date) noexcept;

// "c" for ABT, "<" for BEF, ">" for AFT (case-sensitive, anywhere), else "".
std::string_view DateQualifier(std::string_view date) noexcept;

} // namespace stirpex
