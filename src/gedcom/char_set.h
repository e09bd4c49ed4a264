#pragma once

// The character sets a GEDCOM file may name in its CHAR line, and the
// conversion of one line into model text (UTF-8). The 8-bit sets convert
// straight to Unicode: ANSEL with its combining marks moved behind their
// letters and composed (char_set_ansel.h); code page 437, Mac OS Roman and
// Windows-1252 byte for byte, through tables written from ICU's converters at
// build time (the five codes Windows-1252 leaves undefined become U+0081,
// U+008D, U+008F, U+0090, U+009D). A UTF-8 file is kept as written, with every
// ill-formed sequence replaced by U+FFFD.

#include <cstdint>
#include <cstring>
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

// Nearly every line is ASCII, which every set keeps as it is: asked of each line first.
inline bool IsAscii(std::string_view text) noexcept {
    const char* p = text.data();
    std::size_t rest = text.size();
    std::uint64_t high = 0;
    for (; rest >= 8; rest -= 8, p += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        high |= word;
    }
    for (; rest > 0; --rest, ++p) {
        high |= static_cast<unsigned char>(*p);
    }
    return (high & 0x8080808080808080ull) == 0;
}

// One trimmed raw line to model text. Returns `raw` itself when nothing
// changes (pure ASCII, or valid UTF-8 in a UTF-8 file), else a view of `scratch`.
std::string_view ConvertLine(CharSet set, std::string_view raw, std::string& scratch);

} // namespace stirpex
