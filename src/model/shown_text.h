#pragma once

// How much of one text a window shows. A file may hold a name of 50 MB, and
// a window's text engine measures and shapes every character it is given, on
// every paint: seconds to minutes for what no screen can show, an 8K screen
// being 7680 pixels wide and a character of the page or of a list some 4 to
// 20. The page, the name list and the trees therefore show at most
// kMaxShownCodePoints code points of a text and an ellipsis after them. The
// model keeps the whole text, and copying takes it from there.

#include <cstddef>
#include <string>
#include <string_view>

namespace stirpex {

inline constexpr std::size_t kMaxShownCodePoints = 2000;
inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6"; // U+2026

// The first kMaxShownCodePoints code points of `text`, or the whole of a shorter one.
std::string_view ShownPrefix(std::string_view text) noexcept;

// The whole of a text short enough to be shown, else its shown prefix and the ellipsis.
std::string ShownText(std::string_view text);
// The same in place, for a text made to be shown.
void CutToShown(std::string& text);

} // namespace stirpex
