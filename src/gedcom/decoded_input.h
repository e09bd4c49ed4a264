#pragma once

// The file's bytes as the line source reads them: a byte-order mark taken
// off, UTF-16 decoded to UTF-8 block by block as it is read, anything else
// passed on untouched and uncopied. A file of any size streams through;
// nothing is held whole. The first bytes are looked at once, on creation.

#include "gedcom/byte_encoding.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <streambuf>

namespace stirpex {

class DecodedInput {
public:
    // Reads the first bytes of `raw`; UTF-16 is then read `blockSize` bytes
    // at a time. Throws std::ios_base::failure when reading fails; later
    // read errors leave the stream bad.
    DecodedInput(std::istream& raw, std::size_t blockSize);
    DecodedInput(const DecodedInput&) = delete;
    DecodedInput& operator=(const DecodedInput&) = delete;
    ~DecodedInput();

    std::istream& stream() noexcept { return m_stream; }
    const ByteDetection& detection() const noexcept { return m_detection; }
    // True when the text is not the file's bytes (UTF-16): its length then says nothing of theirs.
    bool decodes() const noexcept {
        return m_detection.form == ByteForm::Utf16LE || m_detection.form == ByteForm::Utf16BE;
    }
    // Bytes taken from the file so far, the mark included.
    std::int64_t bytesTaken() const noexcept { return m_taken; }

private:
    ByteDetection m_detection;
    std::int64_t m_taken = 0;
    std::unique_ptr<std::streambuf> m_buffer;
    std::istream m_stream{nullptr};
};

} // namespace stirpex
