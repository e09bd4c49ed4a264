#pragma once

// The lines the record parser reads: trimmed, and with every CONC line joined
// to the line it continues, so that the parser sees one line per line of text
// and never has to join anything itself.
//
// A writer splits a long value over CONC lines anywhere: inside a word, and
// inside the bytes of one character (a UTF-8 sequence, an ANSEL mark and its
// letter). So the join is made on the raw bytes, before character conversion,
// and keeps everything on both sides of the split: the white space that ends
// the line before a CONC, and the CONC's value after its one delimiter.
//
// A CONC at level n continues the last line when that line is at level n - 1
// (at level 0 only a note record), or is itself a CONT or CONC at level n.
// Any other CONC has nothing to continue and is passed on as it is.
//
// The common line costs one look at the line after it and no copy; only a
// line that is continued is copied, once, with its continuations appended.

#include "gedcom/gedcom_line.h"
#include "gedcom/line_source.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace stirpex {

class LogicalLines {
public:
    explicit LogicalLines(LineSource& source) noexcept : m_source(source) {}

    // False at the end of the file. The line stays valid until the next call.
    // Throws what LineSource throws, and std::bad_alloc.
    bool next(std::string_view& line) {
        // The line to hand out is the one read ahead last time (at the start: the first one).
        if (!m_hasAhead) {
            if (!m_source.next(m_ahead)) {
                return false;
            }
            ++m_read;
        }
        m_lineNumber = m_read;
        m_hasAhead = m_source.next(m_ahead);
        m_read += m_hasAhead ? 1 : 0;
        const std::string_view current = m_source.previous(); // reading ahead may have moved it
        if (m_hasAhead && mayBeConc(m_ahead)) [[unlikely]] {
            line = continued(current);
            return true;
        }
        line = TrimLine(current);
        m_counted = line.size() + 2;
        return true;
    }

    // What the last line counts for progress: for each line of the file it
    // was made of, its trimmed length plus 2 for the line end.
    std::size_t countedBytes() const noexcept { return m_counted; }
    // The number in the file (from 1) of the last line's first line.
    std::int64_t lineNumber() const noexcept { return m_lineNumber; }
    // Lines of the file taken so far; at the end, all of them.
    std::int64_t linesRead() const noexcept { return m_read; }

private:
    // Every line of the file is asked: the usual shape (a level digit, one
    // blank, a tag) is decided here, any other shape the long way.
    static bool mayBeConc(std::string_view line) noexcept {
        if (line.size() > 2 && line[1] == ' ' && line[0] >= '0' && line[0] <= '9' && !IsBlank(line[2])) {
            return line.size() >= 6 && line[2] == 'C' && line[3] == 'O' && line[4] == 'N' && line[5] == 'C';
        }
        return true;
    }
    std::string_view continued(std::string_view current);
    std::string_view join(std::string_view head, int level);

    LineSource& m_source;
    std::string_view m_ahead; // the line after the last one handed out
    bool m_hasAhead = false;
    std::string m_joined;
    std::size_t m_counted = 0;
    std::int64_t m_read = 0; // lines taken from the source: the number of the line ahead
    std::int64_t m_lineNumber = 0;
};

} // namespace stirpex
