#include "gedcom/line_source.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace stirpex {

namespace {

// First CR or LF in [p, end), or end. Sixteen bytes at a time where the
// processor compares them at once, then eight: the lowest flagged byte of
// the zero-byte test is exact, which is all we need.
const char* findLineEnd(const char* p, const char* end) noexcept {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (end - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr)));
        if (hits) {
            return p + __builtin_ctz(static_cast<unsigned>(hits));
        }
        p += 16;
    }
#endif
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    while (end - p >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        const std::uint64_t lf = word ^ (kOnes * '\n');
        const std::uint64_t cr = word ^ (kOnes * '\r');
        const std::uint64_t hits = ((lf - kOnes) & ~lf & kHighs) | ((cr - kOnes) & ~cr & kHighs);
        if (hits) {
            return p + (__builtin_ctzll(hits) >> 3);
        }
        p += 8;
    }
    while (p < end && *p != '\n' && *p != '\r') {
        ++p;
    }
    return p;
}

} // namespace

LineSource::LineSource(std::istream& in, std::size_t blockSize)
    : m_in(&in), m_buffer(std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(blockSize, 1))),
      m_data(m_buffer.get()), m_capacity(std::max<std::size_t>(blockSize, 1)) {} // an empty buffer could never grow

LineSource::LineSource(std::string_view bytes) noexcept
    : m_data(bytes.data()), m_capacity(bytes.size()), m_end(bytes.size()), m_eof(true) {}

bool LineSource::fill() {
    if (m_eof) {
        return false;
    }
    // Keep the previous line and the unfinished one at the front; grow only
    // when those two fill the whole buffer.
    const std::size_t keep = std::min(m_begin, m_previousBegin);
    if (keep > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + keep, m_end - keep);
        m_end -= keep;
        m_begin -= keep;
        m_previousBegin -= keep;
        m_lastBegin = m_previousBegin; // next() has just made the last line the previous one
    }
    if (m_end == m_capacity) {
        auto grown = std::make_unique_for_overwrite<char[]>(m_capacity * 2);
        std::memcpy(grown.get(), m_buffer.get(), m_end);
        m_buffer = std::move(grown);
        m_data = m_buffer.get();
        m_capacity *= 2;
    }
    m_in->read(m_buffer.get() + m_end, static_cast<std::streamsize>(m_capacity - m_end));
    const auto got = static_cast<std::size_t>(m_in->gcount());
    if (m_in->bad()) {
        throw std::ios_base::failure("read error");
    }
    if (got == 0) {
        m_eof = true;
        return false;
    }
    m_end += got;
    return true;
}

bool LineSource::next(std::string_view& line) {
    m_previousBegin = m_lastBegin;
    m_previousLength = m_lastLength;
    for (;;) {
        const char* base = m_data;
        const char* stop = findLineEnd(base + m_begin + m_scanned, base + m_end);
        const auto at = static_cast<std::size_t>(stop - base);
        // A CR at the end of the block may be the first half of CR LF: read on before deciding.
        const bool decided = at < m_end && (base[at] == '\n' || at + 1 < m_end || m_eof);
        if (decided) {
            line = std::string_view(base + m_begin, at - m_begin);
            m_lastBegin = m_begin;
            m_lastLength = line.size();
            const bool crlf = base[at] == '\r' && at + 1 < m_end && base[at + 1] == '\n';
            m_begin = at + (crlf ? 2 : 1);
            m_scanned = 0;
            return true;
        }
        m_scanned = at - m_begin;
        if (!fill()) {
            if (m_begin == m_end) {
                return false;
            }
            // The last line has no line end, or ends in a lone CR. fill() may have moved the buffer.
            base = m_data;
            const std::size_t end = (m_end > m_begin && base[m_end - 1] == '\r') ? m_end - 1 : m_end;
            line = std::string_view(base + m_begin, end - m_begin);
            m_lastBegin = m_begin;
            m_lastLength = line.size();
            m_begin = m_end;
            m_scanned = 0; // a call after the end must not start its search past it
            return true;
        }
    }
}

} // namespace stirpex
