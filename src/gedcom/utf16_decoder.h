#pragma once

// UTF-16 to UTF-8, in pieces of any size: a code unit or a surrogate pair cut
// at the end of one piece is completed by the next. Ill-formed input becomes
// U+FFFD: each lone surrogate, and an odd last byte.

#include <cstdint>
#include <string_view>

namespace stirpex {

enum class ByteOrder { Little, Big };

class Utf16Decoder {
public:
    explicit Utf16Decoder(ByteOrder order) noexcept : m_order(order) {}

    // Room that decoding `bytes` bytes, or finishing (0 bytes), may need.
    static constexpr std::size_t MaxOutput(std::size_t bytes) noexcept { return (bytes / 2 + 2) * 3; }

    // Writes the UTF-8 of `bytes` at `out`, which has MaxOutput(bytes.size())
    // bytes of room, and returns the end of what it wrote.
    char* decode(std::string_view bytes, char* out) noexcept;
    // The input has ended: what still waits for its second half becomes U+FFFD.
    char* finish(char* out) noexcept;

private:
    char* decodeUnit(char16_t unit, char* out) noexcept;

    ByteOrder m_order;
    bool m_hasOddByte = false;
    unsigned char m_oddByte = 0;
    char16_t m_highSurrogate = 0; // a high surrogate waiting for its low one, or 0
};

// UTF-16 code units that the UTF-8 text takes: one per code point, two above U+FFFF.
std::size_t Utf16Length(std::string_view utf8) noexcept;

} // namespace stirpex
