#pragma once

// The year and the qualifier the page and the trees show for a birth or a
// death, read from the date text as written ("ABT 1850/51" gives c and 1850).

#include <cstdint>
#include <limits>
#include <string_view>

namespace stirpex {

// No year: every int a date can give is a year, those before the common era negative.
inline constexpr std::int32_t kNoYear = std::numeric_limits<std::int32_t>::min();

// The year of a date as stored, that is as ReadableDate gives it (a value
// with an escape also as written; one that opens with a bare GEDCOM 7
// calendar word must be made readable first): the last run of three or four
// decimal digits in a Gregorian or Julian date of the value (model/date_parts.h), or a run of one
// to four digits marked before the common era ("44 BC", "1401 B.C.", GEDCOM
// 7's "44 BCE"), which gives the year negative. The second year of a dual
// year (1750/51) never counts, nor does a run of five digits or more, nor
// one in a date phrase "(...)" unless the date has no other. A text of three
// characters (code points) or fewer has no year; kNoYear when there is none.
std::int32_t DateYear(std::string_view date) noexcept;

// "c" for ABT, "<" for BEF, ">" for AFT (case-sensitive, anywhere), else "".
std::string_view DateQualifier(std::string_view date) noexcept;

// A year as the life span shows it: "1850", "850", "44 BC"; "?" for kNoYear.
void AppendYear(std::string& out, std::int32_t year);

} // namespace stirpex
