#pragma once

// What the first bytes of a file tell of its encoding, before any line is
// read: a byte-order mark (UTF-8, UTF-16 either way round), or UTF-16 without
// one, known by a zero byte beside each ASCII byte of its first character
// (after leading blank lines). Anything else is ASCII-compatible text whose
// set the header's CHAR line names. And, once the file is read, the decision
// that the document keeps.

#include "gedcom/char_set.h"
#include "model/encoding_decision.h"

#include <cstddef>
#include <string_view>

namespace stirpex {

enum class ByteForm { Bytes, Utf8, Utf16LE, Utf16BE };

struct ByteDetection {
    ByteForm form = ByteForm::Bytes; // Bytes: as the header says
    bool byMark = false;
    std::size_t markLength = 0; // bytes to skip before the first line

    bool operator==(const ByteDetection&) const = default;
};

// Enough bytes for the rules above; fewer at the end of a short file.
inline constexpr std::size_t kDetectionBytes = 256;

ByteDetection DetectByteForm(std::string_view firstBytes) noexcept;

// The encoding used and why: from the bytes when they told, else from the
// header's GEDC VERS for a GEDCOM 7 file (`gedcom7`), else from the set in
// force at the end (`charSet`) and the header's CHAR value.
EncodingDecision DecideEncoding(const ByteDetection& detection, CharSet charSet, std::string_view charValue,
                                bool gedcom7 = false) noexcept;

} // namespace stirpex
