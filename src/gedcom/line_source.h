#pragma once

// The file as a sequence of lines: a line ends at LF, CR LF or a lone CR, and
// the end is not part of it; a last line without an end is still a line.
// Lines have no length limit. The stream is read in large blocks; a line is a
// view into the block and stays valid until the next call. The line before it
// is kept as well, so that a reader can look one line ahead: previous() gives
// it anew (the block may have moved), valid as long as the last line is.

#include <istream>
#include <memory>
#include <string_view>

namespace stirpex {

class LineSource {
public:
    explicit LineSource(std::istream& in, std::size_t blockSize = std::size_t{1} << 20);
    // Over bytes already in memory, which must outlive it: nothing is copied.
    explicit LineSource(std::string_view bytes) noexcept;

    // False at the end of the file. Throws std::ios_base::failure when reading fails.
    bool next(std::string_view& line);
    // The line handed out before the last one (after the end: the last one);
    // empty before the second line.
    std::string_view previous() const noexcept { return std::string_view(m_data + m_previousBegin, m_previousLength); }

private:
    bool fill();

    std::istream* m_in = nullptr;     // null over bytes in memory
    std::unique_ptr<char[]> m_buffer; // what is read from m_in
    const char* m_data = nullptr;     // the bytes lines are cut from
    std::size_t m_capacity;
    std::size_t m_begin = 0;     // first byte not yet handed out
    std::size_t m_end = 0;       // one past the last byte read
    std::size_t m_scanned = 0;   // bytes after m_begin known to hold no line end
    std::size_t m_lastBegin = 0; // the line handed out last
    std::size_t m_lastLength = 0;
    std::size_t m_previousBegin = 0; // the one before it, which fill() keeps
    std::size_t m_previousLength = 0;
    bool m_eof = false;
};

} // namespace stirpex
