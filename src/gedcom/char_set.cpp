#include "gedcom/char_set.h"

#include "gedcom/char_set_ansel.h"
#include "gedcom/char_set_code_pages.h"
#include "model/utf8.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace stirpex {

namespace {

// The UTF-8 form of every byte of a code page, worked out at compile time:
// conversion then costs one table read per byte instead of an encoding step.
struct Utf8Code {
    unsigned char length;
    char bytes[3];
};

using CodePage = std::array<Utf8Code, 256>;

constexpr CodePage makeCodePage(const std::array<char32_t, 128>& highHalf) {
    CodePage codes{};
    for (unsigned c = 0; c < 256; ++c) {
        const char32_t cp = c < 0x80 ? c : highHalf[c - 0x80];
        Utf8Code& code = codes[c];
        if (cp < 0x80) {
            code = {1, {static_cast<char>(cp), 0, 0}};
        } else if (cp < 0x800) {
            code = {2, {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0}};
        } else {
            code = {3,
                    {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                     static_cast<char>(0x80 | (cp & 0x3F))}};
        }
    }
    return codes;
}

constexpr bool inBasicPlane(const std::array<char32_t, 128>& highHalf) {
    for (const char32_t cp : highHalf) {
        if (cp > 0xFFFF) {
            return false;
        }
    }
    return true;
}
static_assert(inBasicPlane(detail::kWindows1252ToUnicode) && inBasicPlane(detail::kIbmPcToUnicode) &&
                  inBasicPlane(detail::kMacRomanToUnicode),
              "a code page character needs four UTF-8 bytes");

constexpr CodePage kWindows1252 = makeCodePage(detail::kWindows1252ToUnicode);
constexpr CodePage kIbmPc = makeCodePage(detail::kIbmPcToUnicode);
constexpr CodePage kMacRoman = makeCodePage(detail::kMacRomanToUnicode);

// Appends the UTF-8 form of 8-bit text, written into a buffer sized for the worst case (three bytes a byte).
void appendCodePage(std::string& out, std::string_view bytes, const CodePage& codes) {
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3);
    char* cursor = out.data() + start;
    for (const char ch : bytes) {
        const Utf8Code& code = codes[static_cast<unsigned char>(ch)];
        cursor[0] = code.bytes[0];
        cursor[1] = code.bytes[1];
        cursor[2] = code.bytes[2];
        cursor += code.length;
    }
    out.resize(static_cast<std::size_t>(cursor - out.data()));
}

// Length of the well-formed sequence at p, or of its maximal ill-formed subpart as a negative number.
int sequenceLength(const unsigned char* p, std::size_t rest) noexcept {
    const unsigned char c = p[0];
    if (c < 0x80) {
        return 1;
    }
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return -1;
    }
    for (int k = 1; k < length; ++k) {
        if (static_cast<std::size_t>(k) >= rest || p[k] < low || p[k] > high) {
            return -k;
        }
        low = 0x80;
        high = 0xBF;
    }
    return length;
}

} // namespace

std::optional<CharSet> CharSetFromValue(std::string_view value) noexcept {
    if (value == "ANSEL") {
        return CharSet::Ansel;
    }
    if (value == "ANSI" || value == "ASCII") {
        return CharSet::None;
    }
    if (value == "UNICODE" || value == "UTF-8" || value == "UTF8") {
        return CharSet::Utf8;
    }
    if (value == "IBMPC") {
        return CharSet::IbmPc;
    }
    if (value == "MACINTOSH") {
        return CharSet::Macintosh;
    }
    return std::nullopt;
}

bool IsWellFormedUtf8(std::string_view bytes) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t rest = bytes.size();
    while (rest > 0) {
        // Accented text is still mostly ASCII: over it eight bytes at a time,
        // straight to the first byte that is not.
        if (rest >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, 8);
            const std::uint64_t high = word & 0x8080808080808080ull;
            if (high == 0) {
                p += 8;
                rest -= 8;
                continue;
            }
            if constexpr (std::endian::native == std::endian::little) {
                const auto ascii = static_cast<std::size_t>(std::countr_zero(high) / 8);
                p += ascii;
                rest -= ascii;
            }
        }
        // Most accented letters of European names and places take two bytes.
        if (rest >= 2 && p[0] >= 0xC2 && p[0] <= 0xDF && (p[1] & 0xC0) == 0x80) {
            p += 2;
            rest -= 2;
            continue;
        }
        const int length = sequenceLength(p, rest);
        if (length < 0) {
            return false;
        }
        p += length;
        rest -= static_cast<std::size_t>(length);
    }
    return true;
}

void AppendSanitizedUtf8(std::string& out, std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t rest = bytes.size();
    while (rest > 0) {
        const int length = sequenceLength(p, rest);
        const std::size_t step = static_cast<std::size_t>(length < 0 ? -length : length);
        if (length > 0) {
            out.append(reinterpret_cast<const char*>(p), step);
        } else {
            AppendUtf8(out, U'\uFFFD');
        }
        p += step;
        rest -= step;
    }
}

std::string_view ConvertLine(CharSet set, std::string_view raw, std::string& scratch, std::size_t knownAscii) {
    const std::size_t ascii = AsciiPrefix(raw, knownAscii);
    if (ascii == raw.size()) {
        return raw;
    }
    // Every set keeps ASCII as it is, and no byte acts on the bytes before
    // it (ANSEL's marks act on the letter after them): the first ASCII bytes
    // are taken as they are and the rest converted.
    const std::string_view rest = raw.substr(ascii);
    if (set == CharSet::Utf8 && IsWellFormedUtf8(rest)) {
        return raw;
    }
    scratch.assign(raw.substr(0, ascii));
    switch (set) {
    case CharSet::Ansel:
        detail::AppendAnselAsUtf8(scratch, rest);
        break;
    case CharSet::None:
        appendCodePage(scratch, rest, kWindows1252);
        break;
    case CharSet::Utf8:
        AppendSanitizedUtf8(scratch, rest);
        break;
    case CharSet::IbmPc:
        appendCodePage(scratch, rest, kIbmPc);
        break;
    case CharSet::Macintosh:
        appendCodePage(scratch, rest, kMacRoman);
        break;
    }
    return scratch;
}

} // namespace stirpex
