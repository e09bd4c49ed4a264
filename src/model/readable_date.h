#pragma once

// A date as the viewer shows it. A calendar named at the start of a date
// (an escape such as @#DJULIAN@, or GEDCOM 7's bare word JULIAN) becomes a
// word in parentheses after that date, each date of a range or period on
// its own: "@#DJULIAN@ 1 JAN 1700" is "1 JAN 1700 (Julian)", "FROM
// @#DJULIAN@ 1700 TO @#DGREGORIAN@ 1710" is "FROM 1700 (Julian) TO 1710
// (Gregorian)", and an escape elsewhere in a date is taken out the same way.
// Keywords, the epoch (B.C., BCE) and date phrases stay as written, so
// DateQualifier and DateYear read the result as they read the value.

#include <string>
#include <string_view>

namespace stirpex {

// `date` itself when it names no calendar (no copy: most dates do not),
// else the readable text, made in `buffer`.
std::string_view ReadableDate(std::string_view date, std::string& buffer);

} // namespace stirpex
