#pragma once

// How a line of the program's own left-to-right frame (a list entry, a tree
// node, a line of the page, a title) keeps its order around names and places
// written right to left. Left alone, the bidirectional algorithm joins the
// digits and brackets that follow an Arabic or Hebrew name to the name's run,
// so "(?-1975)" jumps to the far side of it and reads as a death. Each stretch
// of right-to-left text is therefore wrapped in a first-strong isolate (FSI
// ... PDI): inside it the name keeps its own order, outside it counts as one
// neutral character of the line. A line without right-to-left letters comes
// back unchanged, so texts compared, searched or printed as plain text stay
// as they were.

#include <string>
#include <string_view>

namespace stirpex {

inline constexpr std::string_view kFirstStrongIsolate = "\xE2\x81\xA8";    // U+2068
inline constexpr std::string_view kPopDirectionalIsolate = "\xE2\x81\xA9"; // U+2069

// True for a character of strong right-to-left direction: the letters of Hebrew, Arabic, Syriac, Thaana and their kin.
bool IsRightToLeft(char32_t cp) noexcept;

// `line` with each stretch from a right-to-left letter to the last
// right-to-left letter before the next left-to-right letter (or the end)
// wrapped in FSI ... PDI. Digits and punctuation between two right-to-left
// letters belong to the stretch ("شارع 5، القاهرة" stays one); those before
// or after it stay outside. A line break ends a stretch: an isolate does not
// reach past the end of its paragraph.
std::string IsolateRightToLeft(std::string_view line);

// `text` without any directional isolate (U+2066 to U+2069: the FSI and PDI
// IsolateRightToLeft adds, and the LRI and RLI a file may hold): what a field
// that showed an entry gives back is compared with the entries as they are
// held, and text copied out of the windows goes to other programs without
// the invisible marks that were only there for the program's own lines.
std::string WithoutIsolates(std::string_view text);

} // namespace stirpex
