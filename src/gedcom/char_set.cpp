#include "gedcom/char_set.h"

#include "gedcom/char_set_tables.h"
#include "model/utf8.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace stirpex {

namespace {

using detail::AnselResult;

bool isAscii(std::string_view text) noexcept {
    const char* p = text.data();
    std::size_t rest = text.size();
    std::uint64_t high = 0;
    for (; rest >= 8; rest -= 8, p += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        high |= word;
    }
    for (; rest > 0; --rest, ++p) {
        high |= static_cast<unsigned char>(*p);
    }
    return (high & 0x8080808080808080ull) == 0;
}

// Reads ANSEL bytes and hands each resulting Windows-1252 code to `emit`.
template <typename Emit> void decodeAnsel(std::string_view in, Emit emit) {
    const std::size_t n = in.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            emit(c);
        } else if (c < 0xA0) {
            // control bytes are dropped
        } else if (c < 0xE0) {
            emit(detail::kAnselSpecial[c - 0xA0]);
        } else if (i + 1 < n) {
            const AnselResult mark = detail::anselMark(c, static_cast<unsigned char>(in[i + 1]));
            if (mark.consumed) {
                emit(mark.code);
                ++i;
            }
            // otherwise the mark is dropped and its base is read as a byte of its own
        }
        // a mark that ends the line is dropped
    }
}

template <std::size_t N> void mapHighBytes(std::string& line, const std::array<unsigned char, N>& table) {
    for (char& ch : line) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80) {
            ch = static_cast<char>(table[c - 0x80]);
        }
    }
}

// The UTF-8 form of every Windows-1252 code, worked out once: conversion then
// costs one table read per character instead of an encoding step.
struct Utf8Code {
    unsigned char length;
    char bytes[3];
};

constexpr std::array<Utf8Code, 256> makeUtf8Codes() {
    std::array<Utf8Code, 256> codes{};
    for (unsigned c = 0; c < 256; ++c) {
        const char32_t cp = c < 0x80 ? c : c < 0xA0 ? detail::kWindows1252[c - 0x80] : c;
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

constexpr auto kUtf8Codes = makeUtf8Codes();

// Writes Windows-1252 codes as UTF-8 into a buffer sized for the worst case (three bytes each).
class Utf8Output {
public:
    Utf8Output(std::string& out, std::size_t maxCodes) : m_out(out), m_start(out.size()) {
        out.resize(m_start + maxCodes * 3);
        m_cursor = out.data() + m_start;
    }
    ~Utf8Output() { m_out.resize(static_cast<std::size_t>(m_cursor - m_out.data())); }
    Utf8Output(const Utf8Output&) = delete;
    Utf8Output& operator=(const Utf8Output&) = delete;

    void operator()(unsigned char c) noexcept {
        const Utf8Code& code = kUtf8Codes[c];
        m_cursor[0] = code.bytes[0];
        m_cursor[1] = code.bytes[1];
        m_cursor[2] = code.bytes[2];
        m_cursor += code.length;
    }

private:
    std::string& m_out;
    std::size_t m_start;
    char* m_cursor;
};

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

void AnselToAnsi(std::string& line) {
    std::size_t written = 0;
    // The result is never longer than what has been read, so it can be written over the line.
    decodeAnsel(std::string_view(line), [&](unsigned char code) { line[written++] = static_cast<char>(code); });
    line.resize(written);
}

void IbmPcToAnsi(std::string& line) {
    mapHighBytes(line, detail::kIbmPc);
}

void MacToAnsi(std::string& line) {
    mapHighBytes(line, detail::kMacRoman);
}

void AppendWindows1252AsUtf8(std::string& out, std::string_view codes) {
    Utf8Output emit(out, codes.size());
    for (const char c : codes) {
        emit(static_cast<unsigned char>(c));
    }
}

bool IsWellFormedUtf8(std::string_view bytes) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t rest = bytes.size();
    while (rest > 0) {
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

std::string_view ConvertLine(CharSet set, std::string_view raw, std::string& scratch) {
    if (isAscii(raw)) {
        return raw;
    }
    scratch.clear();
    switch (set) {
    case CharSet::Ansel: {
        Utf8Output emit(scratch, raw.size());
        decodeAnsel(raw, [&emit](unsigned char code) { emit(code); });
        break;
    }
    case CharSet::None:
        AppendWindows1252AsUtf8(scratch, raw);
        break;
    case CharSet::Utf8:
        if (IsWellFormedUtf8(raw)) {
            return raw;
        }
        AppendSanitizedUtf8(scratch, raw);
        break;
    case CharSet::IbmPc:
    case CharSet::Macintosh: {
        const auto& table = set == CharSet::IbmPc ? detail::kIbmPc : detail::kMacRoman;
        Utf8Output emit(scratch, raw.size());
        for (const char ch : raw) {
            const auto c = static_cast<unsigned char>(ch);
            emit(c < 0x80 ? c : table[c - 0x80]);
        }
        break;
    }
    }
    return scratch;
}

} // namespace stirpex
