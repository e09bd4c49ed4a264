#include "find/search_fold.h"

#include "model/utf8.h"

#include <array>

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
            out.replace(o, length, text.substr(i, length)); // same length: only copies
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

bool StartsWord(std::string_view folded, std::size_t position) noexcept {
    if (position == 0) {
        return true;
    }
    const auto before = static_cast<unsigned char>(folded[position - 1]);
    return before < 0x80 && !isAsciiWordByte(before);
}

} // namespace stirpex
