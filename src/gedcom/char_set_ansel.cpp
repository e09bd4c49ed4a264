#include "gedcom/char_set_ansel.h"

#include "gedcom/char_set.h"

#include "model/utf8.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>

#include <array>
#include <cstdint>

namespace stirpex::detail {

namespace {

constexpr char32_t kUndefined = U'\uFFFD';

// ANSEL bytes 0xA0-0xFF: spacing characters up to 0xDF (with the letters and
// symbols GEDCOM adds: 0xBE/0xBF boxes, 0xC7 eszett, 0xC8 euro, 0xCD/0xCE the
// midline e and o, 0xCF eszett), then the combining marks from 0xE0. 0xA0
// stays the blank it always was.
// clang-format off
constexpr std::array<char32_t, 96> kAnselToUnicode = {
    // 0xA0 blank, L stroke, O stroke, D stroke, thorn, AE, OE, soft sign (prime)
    0x0020, 0x0141, 0x00D8, 0x0110, 0x00DE, 0x00C6, 0x0152, 0x02B9,
    // 0xA8 middle dot, flat, registered, plus-minus, O horn, U horn, alif, (undefined)
    0x00B7, 0x266D, 0x00AE, 0x00B1, 0x01A0, 0x01AF, 0x02BE, kUndefined,
    // 0xB0 ayn, l stroke, o stroke, d stroke, thorn, ae, oe, hard sign (double prime)
    0x02BF, 0x0142, 0x00F8, 0x0111, 0x00FE, 0x00E6, 0x0153, 0x02BA,
    // 0xB8 dotless i, pound, eth, (undefined), o horn, u horn, empty box, black box
    0x0131, 0x00A3, 0x00F0, kUndefined, 0x01A1, 0x01B0, 0x25A1, 0x25A0,
    // 0xC0 degree, script l, sound recording copyright, copyright, sharp, inverted ? and !, eszett
    0x00B0, 0x2113, 0x2117, 0x00A9, 0x266F, 0x00BF, 0x00A1, 0x00DF,
    // 0xC8 euro, (undefined x4), midline e, midline o, eszett
    0x20AC, kUndefined, kUndefined, kUndefined, kUndefined, 0x0065, 0x006F, 0x00DF,
    // 0xD0-0xDF undefined
    kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined,
    kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined,
    // 0xE0 hook above, grave, acute, circumflex, tilde, macron, breve, dot above
    0x0309, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307,
    // 0xE8 diaeresis, caron, ring above, ligature left and right half, high comma off centre,
    // double acute, candrabindu
    0x0308, 0x030C, 0x030A, 0xFE20, 0xFE21, 0x0315, 0x030B, 0x0310,
    // 0xF0 cedilla, right hook (ogonek), dot below, double dot below, ring below,
    // double underscore, underscore, left hook (comma below)
    0x0327, 0x0328, 0x0323, 0x0324, 0x0325, 0x0333, 0x0332, 0x0326,
    // 0xF8 right cedilla, half circle below, double tilde left and right half, (undefined x2),
    // high comma centred, (undefined)
    0x031C, 0x032E, 0xFE22, 0xFE23, kUndefined, kUndefined, 0x0313, kUndefined,
};
// clang-format on

constexpr unsigned char kFirstMark = 0xE0;
// No script stacks more marks on a letter than Unicode's stream-safe limit. The
// normaliser reorders a stack in time that grows with its square, so beyond
// this many the marks of a (hostile) line follow as written, uncomposed.
constexpr std::size_t kMaxComposedMarks = 30;
constexpr unsigned char kDotlessI = 0xB8;

char32_t unicodeOf(unsigned char c) noexcept {
    return kAnselToUnicode[c - 0xA0];
}

bool isMark(unsigned char c) noexcept {
    return c >= kFirstMark && unicodeOf(c) != kUndefined;
}

// What a byte after one or more marks stands for as their base; 0 for a control
// byte, which is no character at all.
char32_t baseOf(unsigned char c) noexcept {
    if (c < 0x80) {
        return c;
    }
    if (c < 0xA0) {
        return 0;
    }
    // Writers put a mark on the dotless i to give the i an accent in place of its dot.
    return c == kDotlessI ? U'i' : unicodeOf(c);
}

const icu::Normalizer2* composer() noexcept {
    static const icu::Normalizer2* const nfc = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* instance = icu::Normalizer2::getNFCInstance(status);
        return U_SUCCESS(status) ? instance : nullptr;
    }();
    return nfc;
}

// Appends a letter followed by the marks written before it, in their order,
// composed where Unicode composes them. Without the normaliser (no ICU data)
// the marks still follow the letter, uncomposed.
void appendWithMarks(std::string& out, char32_t base, std::string_view marks) {
    const icu::Normalizer2* nfc = composer();
    if (nfc && base < 0x80 && marks.size() == 1) {
        // The common case, one mark on an ASCII letter, costs one lookup: such a
        // letter has no decomposition and a single mark nothing to reorder, so
        // NFC is the pair's precomposed character where Unicode has one.
        const char32_t mark = unicodeOf(static_cast<unsigned char>(marks[0]));
        const UChar32 composed = nfc->composePair(static_cast<UChar32>(base), static_cast<UChar32>(mark));
        if (composed >= 0) {
            AppendUtf8(out, static_cast<char32_t>(composed));
        } else {
            AppendUtf8(out, base);
            AppendUtf8(out, mark);
        }
        return;
    }
    const std::string_view composed = marks.substr(0, kMaxComposedMarks);
    std::string cluster; // a letter and a mark or two fit the string's own buffer
    AppendUtf8(cluster, base);
    for (const char mark : composed) {
        AppendUtf8(cluster, unicodeOf(static_cast<unsigned char>(mark)));
    }
    const std::size_t before = out.size();
    UErrorCode status = U_ZERO_ERROR;
    if (nfc) {
        icu::StringByteSink<std::string> sink(&out);
        nfc->normalizeUTF8(0, icu::StringPiece(cluster.data(), static_cast<std::int32_t>(cluster.size())), sink,
                           nullptr, status);
    }
    if (!nfc || U_FAILURE(status)) {
        out.resize(before);
        out += cluster;
    }
    for (const char mark : marks.substr(composed.size())) {
        AppendUtf8(out, unicodeOf(static_cast<unsigned char>(mark)));
    }
}

} // namespace

void AppendAnselAsUtf8(std::string& out, std::string_view ansel) {
    const std::size_t n = ansel.size();
    const auto byteAt = [ansel](std::size_t i) { return static_cast<unsigned char>(ansel[i]); };
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = byteAt(i);
        if (c < 0x80) {
            const std::size_t end = i + AsciiPrefix(ansel.substr(i)); // bytes before i may be any
            out.append(ansel, i, end - i);
            i = end;
        } else if (c < 0xA0) {
            ++i; // control bytes are dropped
        } else if (!isMark(c)) {
            AppendUtf8(out, unicodeOf(c));
            ++i;
        } else {
            const std::size_t firstMark = i;
            while (i < n && isMark(byteAt(i))) {
                ++i;
            }
            if (i == n) {
                break; // marks that end the line are dropped
            }
            const char32_t base = baseOf(byteAt(i));
            if (u_isUAlphabetic(static_cast<UChar32>(base))) {
                appendWithMarks(out, base, ansel.substr(firstMark, i - firstMark));
                ++i;
            }
            // otherwise the marks are dropped and the base is read as a byte of its own
        }
    }
}

} // namespace stirpex::detail
