#pragma once

// The character sets a GEDCOM file may name in its CHAR line, and the
// conversion of one line into model text (UTF-8). The 8-bit sets convert
// straight to Unicode: ANSEL with its combining marks moved behind their
// letters and composed (char_set_ansel.h); code page 437, Mac OS Roman and
// Windows-1252 byte for byte, through tables written from ICU's converters at
// build time (the five codes Windows-1252 leaves undefined become U+0081,
// U+008D, U+008F, U+0090, U+009D). A UTF-8 file is kept as written, with every
// ill-formed sequence replaced by U+FFFD.

#include <bit>
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

// How many of `text`'s first bytes are ASCII, counting on from `from`, which
// must be known ASCII. Nearly every line is ASCII, which every set keeps as
// it is, so each line is asked first; a line that is not is converted from
// the first byte that is not, without the line being read again up to there.
inline std::size_t AsciiPrefix(std::string_view text, std::size_t from = 0) noexcept {
    const char* const start = text.data();
    const char* p = start + from;
    const char* const end = start + text.size();
    if constexpr (std::endian::native == std::endian::little) {
        const auto firstHigh = [start](const char* at) -> std::optional<std::size_t> {
            std::uint64_t word = 0;
            std::memcpy(&word, at, 8);
            if (const std::uint64_t high = word & 0x8080808080808080ull) {
                return static_cast<std::size_t>(at - start) + static_cast<std::size_t>(std::countr_zero(high) / 8);
            }
            return std::nullopt;
        };
        for (; end - p >= 8; p += 8) {
            if (const auto found = firstHigh(p)) {
                return *found;
            }
        }
        // The last few bytes in one more step, back over some already known ASCII.
        if (p < end && end - start >= 8) {
            return firstHigh(end - 8).value_or(text.size());
        }
    }
    while (p < end && static_cast<unsigned char>(*p) < 0x80) {
        ++p;
    }
    return static_cast<std::size_t>(p - start);
}

// One trimmed raw line to model text, of which the first `knownAscii` bytes
// are known to be ASCII. Returns `raw` itself when nothing changes (pure
// ASCII, or valid UTF-8 in a UTF-8 file), else a view of `scratch`.
std::string_view ConvertLine(CharSet set, std::string_view raw, std::string& scratch, std::size_t knownAscii = 0);

} // namespace stirpex
