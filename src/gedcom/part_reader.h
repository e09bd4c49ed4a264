#pragma once

// Reading a large file in parts on several threads, into exactly the model
// one pass gives.
//
// The file is cut into parts of about a given size, each ending right before
// a line that starts with '0': a level-0 line, where a record ends and the
// parser starts afresh. The first part is read by the file's own parser on
// the calling thread. Each later part is read on a thread of its own, by a
// parser of its own, into a document of its own, starting from the state the
// first part left (character set, GEDCOM version). The calling thread then
// takes the parts in file order: a part whose lines found everything they
// needed within it is appended (its records, its generated keys numbered in
// turn, its log with its lines renumbered); a part that needed the lines
// before it (a line that acts on a record made earlier, a header field, a
// change of character set, a state that is not the one assumed, memory that
// ran out) is thrown away and read again by the file's own parser, which by
// then has read every line before it.
//
// Progress is advanced, and out of memory is reported, on the calling thread,
// as the parts are taken in; a part's progress counts when it is taken.

#include "gedcom/line_loop.h"
#include "gedcom/load_sinks.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>

namespace stirpex {

class CStirpexDoc;
class RecordParser;

struct PartReading {
    unsigned threads = 1;
    std::size_t partBytes = 0;
};

// From the environment's wishes (0: the reader's choice) and the file's
// length: one thread for a file too small to gain by parts.
PartReading PartReadingFor(unsigned threads, std::size_t partBytes, std::int64_t fileLength) noexcept;

// Reads every line of `in` into `doc`, which is in a bulk load, with
// `parser`, the document's own. `bytesRead` counts what progress counts.
// Running out of memory while the file's own parser reads is reported, not
// thrown. Throws std::ios_base::failure when reading fails.
std::optional<Exhausted> ReadInParts(CStirpexDoc& doc, RecordParser& parser, std::istream& in, std::int64_t fileLength,
                                     const PartReading& reading, ProgressTracker& progress, std::int64_t& bytesRead);

} // namespace stirpex
