#include "model/text_direction.h"

#include "model/utf8.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace stirpex {

namespace {

char32_t decode(std::string_view text, std::size_t at, std::size_t length) noexcept {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    switch (length) {
    case 1:
        return byte(0);
    case 2:
        return (char32_t{byte(0) & 0x1Fu} << 6) | (byte(1) & 0x3Fu);
    case 3:
        return (char32_t{byte(0) & 0x0Fu} << 12) | (char32_t{byte(1) & 0x3Fu} << 6) | (byte(2) & 0x3Fu);
    default:
        return (char32_t{byte(0) & 0x07u} << 18) | (char32_t{byte(1) & 0x3Fu} << 12) |
               (char32_t{byte(2) & 0x3Fu} << 6) | (byte(3) & 0x3Fu);
    }
}

// A character that sets a left-to-right direction: a letter of Latin or of
// any other script written that way. Digits, punctuation, blanks and symbols set none.
bool isLeftToRight(char32_t cp) noexcept {
    return u_charDirection(static_cast<UChar32>(cp)) == U_LEFT_TO_RIGHT;
}

} // namespace

bool IsRightToLeft(char32_t cp) noexcept {
    const UCharDirection direction = u_charDirection(static_cast<UChar32>(cp));
    return direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC;
}

std::string IsolateRightToLeft(std::string_view line) {
    std::string out;
    std::size_t copied = 0;     // bytes of `line` already in `out`
    std::size_t stretchEnd = 0; // end of the last right-to-left letter of the open stretch
    bool open = false;
    const auto close = [&] {
        out.append(line.substr(copied, stretchEnd - copied));
        out.append(kPopDirectionalIsolate);
        copied = stretchEnd;
        open = false;
    };
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t length = std::min(CodePointLength(static_cast<unsigned char>(line[at])), line.size() - at);
        const char32_t cp = decode(line, at, length);
        if (IsRightToLeft(cp)) {
            if (!open) {
                out.append(line.substr(copied, at - copied));
                out.append(kFirstStrongIsolate);
                copied = at;
                open = true;
            }
            stretchEnd = at + length;
        } else if (open && (isLeftToRight(cp) || cp == '\n' || cp == '\r')) {
            close();
        }
        at += length;
    }
    if (open) {
        close();
    }
    if (copied == 0) {
        return std::string(line);
    }
    out.append(line.substr(copied));
    return out;
}

std::string WithoutIsolates(std::string_view text) {
    // U+2066 to U+2069 are E2 81 A6 to E2 81 A9; no other character's bytes hold that sequence.
    const auto isolateAt = [text](std::size_t at) {
        return at + 3 <= text.size() && text[at] == '\xE2' && text[at + 1] == '\x81' &&
               static_cast<unsigned char>(text[at + 2]) >= 0xA6 && static_cast<unsigned char>(text[at + 2]) <= 0xA9;
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (isolateAt(at)) {
            at += 3;
            continue;
        }
        out.push_back(text[at]);
        ++at;
    }
    return out;
}

} // namespace stirpex
