#pragma once

// Text as searches compare it: letters in lower case with their accents
// dropped ("Malmö" and "MALMO" meet), ligatures and letters such as ß written
// out, everything else as it was. Only Latin letters up to U+017F are folded;
// other scripts are compared as written.

#include <string>
#include <string_view>

namespace stirpex {

// The ASCII capital letters a Latin letter stands for ("A" for À, "SS" for ß,
// "OE" for Œ); empty for a code point that is no such letter.
std::string_view LatinBase(char32_t cp) noexcept;

// Replaces `out` with `text` folded.
void FoldForSearch(std::string_view text, std::string& out);

// Whether every byte of `text` is ASCII: its fold is then itself with the
// capitals in lower case, byte for byte, and need not be made.
bool IsAscii(std::string_view text) noexcept;

// Where the fold of ASCII `text` holds `folded` (folded text) at or after
// `from`, as the fold's own find would say, without making the fold; npos
// for nowhere.
std::size_t FindInAscii(std::string_view text, std::string_view folded, std::size_t from = 0) noexcept;

// Whether the byte at `position` of folded text (or of ASCII text as written)
// starts a word: the byte before it is neither an ASCII letter nor a digit nor
// part of another character.
bool StartsWord(std::string_view folded, std::size_t position) noexcept;

} // namespace stirpex
