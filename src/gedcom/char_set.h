#pragma once

// The character sets a GEDCOM file may name in its CHAR line, and the
// conversion of one line into model text. The byte tables produce
// Windows-1252 codes, exactly as the old viewers did; one last step turns
// those codes into UTF-8. A UTF-8 file is kept as written, with every
// ill-formed sequence replaced by U+FFFD.

#include <optional>
#include <string>
#include <string_view>

namespace stirpex {

enum class CharSet { Ansel, None, Utf8, IbmPc, Macintosh };

// The set a CHAR value switches to (compared whole, case-sensitively), or
// nothing when the value names none of them and the set in force stays.
std::optional<CharSet> CharSetFromValue(std::string_view value) noexcept;

// Byte conversions to Windows-1252 codes, in place; ANSEL can shorten the line.
void AnselToAnsi(std::string& line);
void IbmPcToAnsi(std::string& line);
void MacToAnsi(std::string& line);

// Appends the UTF-8 form of Windows-1252 codes (the five undefined codes map to U+0081 etc.).
void AppendWindows1252AsUtf8(std::string& out, std::string_view codes);
// Appends bytes as well-formed UTF-8, each maximal ill-formed subpart replaced by U+FFFD.
void AppendSanitizedUtf8(std::string& out, std::string_view bytes);
bool IsWellFormedUtf8(std::string_view bytes) noexcept;

// One trimmed raw line to model text. Returns `raw` itself when nothing
// changes (pure ASCII, or valid UTF-8 in a UTF-8 file), else a view of `scratch`.
std::string_view ConvertLine(CharSet set, std::string_view raw, std::string& scratch);

} // namespace stirpex
