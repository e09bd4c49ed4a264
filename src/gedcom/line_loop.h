#pragma once

// The loop every reader runs over its lines, whole file or part of one:
// each line converted from the parser's character set, handled, and noted in
// the reading log when it took no effect or held bytes that could not be
// decoded. What the reader adds after each line (progress, a byte count) is
// its own.

#include "gedcom/char_set.h"
#include "gedcom/logical_lines.h"
#include "gedcom/record_parser.h"
#include "model/reading_log.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace stirpex {

// U+FFFD in model text: a character a conversion could not decode. The byte
// search first, since almost every line has no 0xEF at all.
inline bool HasReplacementCharacter(std::string_view text) noexcept {
    return std::memchr(text.data(), 0xEF, text.size()) != nullptr &&
           text.find("\xEF\xBF\xBD") != std::string_view::npos;
}

// Where memory ran out while reading.
struct Exhausted {
    int percent = 0;  // of the file's bytes in the lines handled whole
    std::string line; // quoted; empty when no line was in hand
};

// The file's bytes a line stands for, as progress counts them.
int PercentOf(std::int64_t bytesRead, std::int64_t fileLength) noexcept;
// The line as the out-of-memory message quotes it.
std::string QuotedLine(std::string_view raw);

// Every line of `lines` through `parser`, its log entries numbered from
// `lineOffset` + 1 on. `raw` is the line in hand, for a message when memory
// runs out; afterLine(raw) runs after each. Throws what the lines and the
// parser throw.
template <typename AfterLine>
void ParseLines(LogicalLines& lines, RecordParser& parser, ReadingLog& log, std::int64_t lineOffset,
                std::string_view& raw, AfterLine&& afterLine) {
    std::string scratch;
    for (;;) {
        raw = {}; // while the next line is read none is in hand, and the last may be overwritten
        if (!lines.next(raw)) {
            break;
        }
        const std::size_t asciiBytes = AsciiPrefix(raw);
        const bool ascii = asciiBytes == raw.size();
        const std::string_view text = ascii ? raw : ConvertLine(parser.charSet(), raw, scratch, asciiBytes);
        if (!parser.HandleLine(text) && !text.empty()) [[unlikely]] {
            log.skipped(ReportTag(text), lineOffset + lines.lineNumber());
        }
        if (!ascii && HasReplacementCharacter(text)) [[unlikely]] {
            log.undecodable.add(lineOffset + lines.lineNumber());
        }
        afterLine(raw);
    }
    raw = {};
}

} // namespace stirpex
