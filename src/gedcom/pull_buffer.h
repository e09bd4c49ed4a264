#pragma once

// A read-only stream buffer over a source that fills the caller's memory
// itself (a descriptor, a zip entry, ...): the line source reads up to a
// megabyte at a time, which a buffer here would only copy, so large reads go
// straight to the source and only reads of a few characters are buffered.
// A failing source throws from readSome; the stream turns that into its bad
// state.

#include <algorithm>
#include <array>
#include <istream>
#include <streambuf>
#include <utility>

namespace stirpex {

class PullBuffer : public std::streambuf {
protected:
    // Up to `count` bytes into `out`; 0 only at the end.
    virtual std::streamsize readSome(char* out, std::streamsize count) = 0;

    int_type underflow() override {
        const std::streamsize got = readSome(m_small.data(), static_cast<std::streamsize>(m_small.size()));
        if (got == 0) {
            return traits_type::eof();
        }
        setg(m_small.data(), m_small.data(), m_small.data() + got);
        return traits_type::to_int_type(m_small[0]);
    }

    std::streamsize xsgetn(char* out, std::streamsize count) override {
        std::streamsize done = std::min<std::streamsize>(count, egptr() - gptr());
        std::copy_n(gptr(), done, out);
        gbump(static_cast<int>(done));
        while (done < count) {
            const std::streamsize got = readSome(out + done, count - done);
            if (got == 0) {
                break;
            }
            done += got;
        }
        return done;
    }

private:
    std::array<char, 4096> m_small{}; // for reads of a few characters only
};

// A stream that owns its buffer.
template <typename Buffer> class OwningStream final : public std::istream {
public:
    template <typename... Args>
    explicit OwningStream(Args&&... args) : std::istream(nullptr), m_buffer(std::forward<Args>(args)...) {
        rdbuf(&m_buffer);
    }

private:
    Buffer m_buffer;
};

} // namespace stirpex
