#include "gedcom/utf16_decoder.h"

#include <cstring>

namespace stirpex {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t unit) noexcept {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) noexcept {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char* putBmp(char16_t unit, char* out) noexcept {
    if (unit < 0x80) {
        *out++ = static_cast<char>(unit);
    } else if (unit < 0x800) {
        *out++ = static_cast<char>(0xC0 | (unit >> 6));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        *out++ = static_cast<char>(0xE0 | (unit >> 12));
        *out++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
    }
    return out;
}

char* putPair(char16_t high, char16_t low, char* out) noexcept {
    const char32_t cp = 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (low - 0xDC00);
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    return out;
}

char16_t unitAt(const unsigned char* p, ByteOrder order) noexcept {
    return order == ByteOrder::Little ? static_cast<char16_t>(p[0] | (p[1] << 8))
                                      : static_cast<char16_t>((p[0] << 8) | p[1]);
}

// Four ASCII characters at p: every high byte zero, every low byte below 0x80.
bool fourAsciiUnits(const unsigned char* p, ByteOrder order) noexcept {
    std::uint64_t word = 0;
    std::memcpy(&word, p, 8);
    // In memory order the high byte of each unit is the second (little-endian) or the first.
    const std::uint64_t notAscii = order == ByteOrder::Little ? 0xFF80FF80FF80FF80ull : 0x80FF80FF80FF80FFull;
    return (word & notAscii) == 0;
}

} // namespace

char* Utf16Decoder::decodeUnit(char16_t unit, char* out) noexcept {
    if (m_highSurrogate != 0) {
        if (isLowSurrogate(unit)) {
            out = putPair(m_highSurrogate, unit, out);
            m_highSurrogate = 0;
            return out;
        }
        out = putBmp(kReplacement, out);
        m_highSurrogate = 0;
    }
    if (isHighSurrogate(unit)) {
        m_highSurrogate = unit;
        return out;
    }
    return putBmp(isLowSurrogate(unit) ? kReplacement : unit, out);
}

// At most three bytes a unit, counting the U+FFFD of a high surrogate left
// alone with it, and one U+FFFD for what waited from the piece before.
char* Utf16Decoder::decode(std::string_view bytes, char* o) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    if (m_hasOddByte && p < end) {
        const unsigned char pair[2] = {m_oddByte, *p++};
        m_hasOddByte = false;
        o = decodeUnit(unitAt(pair, m_order), o);
    }
    while (end - p >= 2) {
        if (m_highSurrogate == 0 && end - p >= 8 && fourAsciiUnits(p, m_order)) {
            const std::size_t low = m_order == ByteOrder::Little ? 0 : 1;
            o[0] = static_cast<char>(p[low]);
            o[1] = static_cast<char>(p[low + 2]);
            o[2] = static_cast<char>(p[low + 4]);
            o[3] = static_cast<char>(p[low + 6]);
            o += 4;
            p += 8;
            continue;
        }
        o = decodeUnit(unitAt(p, m_order), o);
        p += 2;
    }
    if (p < end) {
        m_oddByte = *p;
        m_hasOddByte = true;
    }
    return o;
}

char* Utf16Decoder::finish(char* o) noexcept {
    if (m_highSurrogate != 0) {
        o = putBmp(kReplacement, o);
        m_highSurrogate = 0;
    }
    if (m_hasOddByte) {
        o = putBmp(kReplacement, o);
        m_hasOddByte = false;
    }
    return o;
}

std::size_t Utf16Length(std::string_view utf8) noexcept {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        // Continuation bytes add nothing; a four-byte lead stands for a surrogate pair.
        units += (byte & 0xC0) != 0x80 ? 1 : 0;
        units += byte >= 0xF0 ? 1 : 0;
    }
    return units;
}

} // namespace stirpex
