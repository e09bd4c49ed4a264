#include "gedcom/line_loop.h"

#include "gedcom/char_set.h"

namespace stirpex {

namespace {

// Whole GEDCOM lines are at most 255 characters long.
constexpr std::size_t kQuotedLineBytes = 255;

} // namespace

int PercentOf(std::int64_t bytesRead, std::int64_t fileLength) noexcept {
    if (fileLength <= 0) {
        return 0;
    }
    // Exact for any file length: 128-bit product, so bytesRead * 100 cannot overflow.
    const auto percent = static_cast<__int128>(bytesRead) * 100 / fileLength;
    return percent > 1000000 ? 1000000 : static_cast<int>(percent);
}

// Well-formed, and cut short when long, so that quoting a line of any length
// needs little memory and fits on a screen.
std::string QuotedLine(std::string_view raw) {
    std::string quoted;
    if (raw.size() <= kQuotedLineBytes) {
        AppendSanitizedUtf8(quoted, raw);
        return quoted;
    }
    std::size_t cut = kQuotedLineBytes;
    // Not inside a UTF-8 sequence, which is at most four bytes long.
    for (int back = 0; back < 3 && (static_cast<unsigned char>(raw[cut]) & 0xC0) == 0x80; ++back) {
        --cut;
    }
    AppendSanitizedUtf8(quoted, raw.substr(0, cut));
    quoted += "\u2026";
    return quoted;
}

} // namespace stirpex
