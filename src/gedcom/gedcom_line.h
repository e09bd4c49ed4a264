#pragma once

// The rules that read one cleaned line: its level, where its tag starts, the
// five cursor rules that find a value, pointer keys, and level-0 record lines.
// There is no tokenizer: these rules decide which irregular lines still work,
// so they are exact. Every rule moves forward only and never past the end.
//
// Blanks are blank and tab; trimming removes the six ASCII white-space
// characters. All positions are byte offsets into model text (UTF-8), and each
// rule stops on a code point boundary.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <cstring>
#include <string>
#include <string_view>

namespace stirpex {

inline bool IsBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

inline bool IsTrimSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Every line of the file is trimmed: kept inline.
inline std::string_view TrimLine(std::string_view line) noexcept {
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && IsTrimSpace(line[begin])) {
        ++begin;
    }
    while (end > begin && IsTrimSpace(line[end - 1])) {
        --end;
    }
    return line.substr(begin, end - begin);
}

// 0 to 4 from the first character alone, or -1 (no level).
inline int LineLevel(std::string_view line) noexcept {
    return !line.empty() && line[0] >= '0' && line[0] <= '4' ? line[0] - '0' : -1;
}

// Offset of the tag: one character after the level digit, then over blanks.
// Asked of every line: kept inline.
inline std::size_t TagPosition(std::string_view line) noexcept {
    std::size_t pos = line.empty() ? 0 : 1;
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return pos;
}

// True when the line holds `tag` at `pos` (case-sensitive, prefix match).
// Every line is tested against many tags: a comparison of a known length
// compiles to a load or two and a compare, not a loop over the bytes.
template <std::size_t N> inline bool TagIs(std::string_view line, std::size_t pos, const char (&tag)[N]) noexcept {
    constexpr std::size_t length = N - 1;
    if (pos > line.size() || line.size() - pos < length) {
        return false;
    }
    return std::memcmp(line.data() + pos, tag, length) == 0;
}

std::size_t SkipBlanks(std::string_view line, std::size_t pos) noexcept;

// Rule A: over `length` characters of the tag, then over blanks.
std::string_view ValueFixed(std::string_view line, std::size_t tagPos, std::size_t length) noexcept;
// Rule B: over the tag's first character and every following one in 0x21-0x7F, then blanks.
std::string_view ValueWord(std::string_view line, std::size_t tagPos) noexcept;
// Rule C: over four characters, a fifth if it is 'E', then over blanks.
std::string_view ValuePlace(std::string_view line, std::size_t tagPos) noexcept;
// Rule D: rule A, then one character taken to be '@', then the key.
std::string_view PointerKey(std::string_view line, std::size_t tagPos) noexcept;

// Rule E: a pointer value (with its key) or a text value.
struct PointerOrText {
    bool isPointer = false;
    std::string_view key;  // pointer: its key, possibly empty
    std::string_view text; // the value after the tag; for a pointer, what follows its '@'
};
PointerOrText ValuePointerOrText(std::string_view line, std::size_t tagPos) noexcept;

// Up to the next '@', however far; empty when no '@' follows. Keys are kept
// whole: exports use long identifiers (UUIDs), and keys cut to a common prefix
// would name one person for many.
std::string_view ExtractXrefKey(std::string_view text) noexcept;

// " 0", " 1", ...: one process-wide counter for inline notes, sources and
// external references; never reset, so generated keys never repeat. Safe to
// call from several threads.
std::string MakeGeneratedKey();
// Takes `count` numbers of that counter at once, in one run, and returns the
// first: a reader that made keys out of order numbers them afterwards.
std::int64_t ReserveGeneratedKeys(std::int64_t count) noexcept;
// The key of one number: a blank and its decimal digits; at most
// kGeneratedKeyBytes long.
std::string GeneratedKeyOf(std::int64_t number);
inline constexpr std::size_t kGeneratedKeyBytes = 21;

enum class RecordKind { None, Header, Individual, Family, Note, Source, ExtObj, Submitter };

struct RecordLine {
    RecordKind kind = RecordKind::None;
    std::string_view key;
};
RecordLine RecognizeRecordLine(std::string_view line) noexcept;

// The text a NOTE (or SNOTE) record line carries after its tag, if any.
std::optional<std::string_view> FirstNoteLine(std::string_view line) noexcept;

// The tag a line is known by in the reading report: the word at its tag
// position (after the identifier of a level-0 record line), at most 31 bytes
// and never cut inside a character; empty for a line that does not start
// with a level digit. A level past 4, which the reader does not read, still
// has its tag named.
std::string_view ReportTag(std::string_view line) noexcept;

} // namespace stirpex
