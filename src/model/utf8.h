#pragma once

// Small helpers over model text, which is always well-formed UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace stirpex {

// Code points in text, counting stops once `limit` is reached.
std::size_t CountCodePoints(std::string_view text, std::size_t limit = std::string_view::npos) noexcept;

// Byte length of the code point that starts with lead byte `c` (1 for a stray continuation byte).
inline std::size_t CodePointLength(unsigned char c) noexcept {
    return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// Appends the UTF-8 encoding of code point `cp`.
void AppendUtf8(std::string& out, char32_t cp);

} // namespace stirpex
