#pragma once

// The character sets a GEDCOM file may name in its CHAR line, and the
// conversion of one line into model text (UTF-8). The 8-bit sets convert
// straight to Unicode: ANSEL with its combining marks moved behind their
// letters and composed (char_set_ansel.h); code page 437, Mac OS Roman and
// Windows-1252 byte for byte, through tables written from ICU's converters at
// build time (the five codes Windows-1252 leaves undefined become U+0081,
// U+008D, U+008F, U+0090, U+009D). A UTF-8 file is kept as written, with every
// ill-formed sequence replaced by U+FFFD.

#include <optional>
#include <string>
#include <string_view>

namespace stirpex {

enum class CharSet { Ansel, None, Utf8, IbmPc, Macintosh };

// The set a CHAR value switches to (compared whole, case-sensitively), or
// nothing when the value names none of them and the set in force stays.
std::optional<CharSet> CharSetFromValue(std::string_view value) noexcept;

// Appends bytes as well-formed UTF-8, each maximal ill-formed subpart replaced by U+FFFD.
void AppendSanitizedUtf8(std::string& out, std::string_view bytes);
bool IsWellFormedUtf8(std::string_view bytes) noexcept;

// One trimmed raw line to model text. Returns `raw` itself when nothing
// changes (pure ASCII, or valid UTF-8 in a UTF-8 file), else a view of `scratch`.
std::string_view ConvertLine(CharSet set, std::string_view raw, std::string& scratch);

} // namespace stirpex
