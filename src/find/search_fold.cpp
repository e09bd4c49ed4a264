#include "find/search_fold.h"

#include "model/utf8.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace stirpex {

namespace {

// One capital for each code point from U+00C0 to U+017F; '*' where it takes
// two letters, '-' where it is no letter.
constexpr std::string_view kLatinBases = "AAAAAA*CEEEEIIIIDNOOOOO-OUUUUY**"
                                         "AAAAAA*CEEEEIIIIDNOOOOO-OUUUUY*Y"
                                         "AAAAAACCCCCCCCDD"
                                         "DDEEEEEEEEEEGGGG"
                                         "GGGGHHHHIIIIIIII"
                                         "II**JJKKKLLLLLLL"
                                         "LLLNNNNNNNNNOOOO"
                                         "OO**RRRRRRSSSSSS"
                                         "SSTTTTTTUUUUUUUU"
                                         "UUUUWWYYYZZZZZZS";
static_assert(kLatinBases.size() == 0x180 - 0xC0);

std::string_view twoLetters(char32_t cp) noexcept {
    switch (cp) {
    case 0xC6:
    case 0xE6:
        return "AE";
    case 0xDE:
    case 0xFE:
        return "TH";
    case 0xDF:
        return "SS";
    case 0x132:
    case 0x133:
        return "IJ";
    case 0x152:
    case 0x153:
        return "OE";
    default:
        return {};
    }
}

constexpr std::array<char, 256> kAsciiLower = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return table;
}();

constexpr char32_t kBroken = 0xFFFD;

// The code point of the sequence at `text[i]` and its length; a broken
// sequence is taken byte by byte, so that the text is still folded.
char32_t decode(std::string_view text, std::size_t i, std::size_t& length) noexcept {
    const auto lead = static_cast<unsigned char>(text[i]);
    length = CodePointLength(lead);
    if (length == 1 || i + length > text.size()) {
        length = 1;
        return kBroken;
    }
    char32_t cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            length = 1;
            return kBroken;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    return cp;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080;

// Eight ASCII bytes with their capitals in lower case: a byte's high bit is
// set by adding what takes 'A' to 0x80, and by adding what takes the byte
// after 'Z' there; capitals have the first and not the second. No byte is
// over 0x7F, so no sum carries into the next byte.
constexpr std::uint64_t lowerAscii8(std::uint64_t word) noexcept {
    constexpr std::uint64_t ones = 0x0101010101010101;
    const std::uint64_t atLeastA = word + ones * (0x80 - 'A');
    const std::uint64_t pastZ = word + ones * (0x80 - 'Z' - 1);
    const std::uint64_t capitals = atLeastA & ~pastZ & kHighBits;
    return word | (capitals >> 2);
}
static_assert(lowerAscii8(0x40415A5B617A7A7F) == 0x40617A5B617A7A7F);

bool isAsciiWordByte(unsigned char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

std::string_view LatinBase(char32_t cp) noexcept {
    if (cp < 0xC0 || cp >= 0x180) {
        return {};
    }
    const std::string_view two = twoLetters(cp);
    if (!two.empty()) {
        return two;
    }
    const std::size_t at = cp - 0xC0;
    return kLatinBases[at] == '-' ? std::string_view() : kLatinBases.substr(at, 1);
}

void FoldForSearch(std::string_view text, std::string& out) {
    out.resize(text.size());
    std::size_t o = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        // Most text is ASCII: eight bytes at a time while it is.
        if (i + 8 <= text.size()) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + i, 8);
            if ((word & kHighBits) == 0) {
                word = lowerAscii8(word);
                std::memcpy(out.data() + o, &word, 8);
                i += 8;
                o += 8;
                continue;
            }
            // The ASCII bytes up to the other character, without loading them again one by one.
            while (static_cast<unsigned char>(text[i]) < 0x80) {
                out[o++] = kAsciiLower[static_cast<unsigned char>(text[i++])];
            }
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out[o++] = kAsciiLower[c];
            ++i;
            continue;
        }
        std::size_t length = 1;
        const char32_t cp = decode(text, i, length);
        const std::string_view base = LatinBase(cp);
        if (base.empty()) {
            text.copy(out.data() + o, length, i);
            o += length;
        } else {
            // A base is never longer than the two bytes of its letter.
            for (const char b : base) {
                out[o++] = kAsciiLower[static_cast<unsigned char>(b)];
            }
        }
        i += length;
    }
    out.resize(o);
}

bool IsAscii(std::string_view text) noexcept {
    std::size_t i = 0;
    std::uint64_t high = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        high |= word;
    }
    for (; i < text.size(); ++i) {
        high |= static_cast<unsigned char>(text[i]);
    }
    return (high & kHighBits) == 0;
}

std::size_t FindInAscii(std::string_view text, std::string_view folded, std::size_t from) noexcept {
    if (folded.empty()) {
        return from <= text.size() ? from : std::string_view::npos;
    }
    // Folded text has no capitals: its first byte is met as itself or as its capital.
    const char first = folded[0];
    const char capital = first >= 'a' && first <= 'z' ? static_cast<char>(first - ('a' - 'A')) : first;
    for (std::size_t i = from; i < text.size() && text.size() - i >= folded.size(); ++i) {
        if (text[i] != first && text[i] != capital) {
            continue;
        }
        std::size_t k = 1;
        while (k < folded.size() && kAsciiLower[static_cast<unsigned char>(text[i + k])] == folded[k]) {
            ++k;
        }
        if (k == folded.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool StartsWord(std::string_view folded, std::size_t position) noexcept {
    if (position == 0) {
        return true;
    }
    const auto before = static_cast<unsigned char>(folded[position - 1]);
    return before < 0x80 && !isAsciiWordByte(before);
}

} // namespace stirpex
