#pragma once

// How the reader turned a file's bytes into text, and why. A byte-order mark
// or UTF-16 in the first bytes settles the encoding before any line is read;
// otherwise the header's CHAR line names the set, and without one the file is
// taken for ANSEL. Kept with the document so that what was decided can be
// shown to the user.

namespace stirpex {

enum class TextEncoding { Ansel, Ansi, Utf8, IbmPc, Macintosh, Utf16LE, Utf16BE };

enum class EncodingReason {
    ByteOrderMark, // the file starts with one
    FirstBytes,    // no mark, but the first characters are UTF-16: each ASCII byte beside a zero byte
    CharValue,     // the header's CHAR line named the set
    GedcomVersion, // the header's GEDC VERS says GEDCOM 7, whose text is UTF-8
    NoCharValue,   // no CHAR line named a known set: ANSEL
};

struct EncodingDecision {
    TextEncoding encoding = TextEncoding::Ansel;
    EncodingReason reason = EncodingReason::NoCharValue;
    // The header's CHAR value named another encoding than the bytes are in; the bytes won.
    bool charValueOverruled = false;

    bool operator==(const EncodingDecision&) const = default;
};

} // namespace stirpex
