#pragma once

// Reading one GEDCOM file into a fresh document: every line trimmed,
// converted, parsed; progress for files over 50000 bytes; the start option;
// the name index at the end unless the option defers it; the statistics line.
// One pass, nothing stored per line, no resolution of references.

#include "gedcom/input_file.h"
#include "gedcom/load_sinks.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

namespace stirpex {

class CStirpexDoc;

struct LoadEnvironment {
    ProgressSink* progress = nullptr;
    MessageSink* messages = nullptr;
    NameIndexBuilder* nameIndex = nullptr;
    std::string_view argumentText; // the program's arguments joined by blanks, for "-i"
    // Threads that read a large file in parts: 0 for one per core, 1 to read
    // it in one pass on the calling thread (gedcom/part_reader.h). Either
    // way the sinks above are called on the calling thread only.
    unsigned threads = 0;
    // The bytes of a part; 0 for the reader's own choice.
    std::size_t partBytes = 0;
    // Set from another thread to give up the load: it ends Cancelled within
    // a few lines of each reading thread.
    const std::atomic<bool>* stop = nullptr;
};

enum class LoadOutcome {
    Loaded,
    // Memory ran out while the document was being filled. Nothing has been
    // shown yet: the caller first lets go of the half-read document, which
    // holds the memory that showing a message needs, then shows
    // outOfMemoryText and ends the program with exit code 1.
    OutOfMemory,
    // The stop token was set: the document is half read and must go, with nothing shown.
    Cancelled,
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Loaded;
    bool indexBuilt = false;
    std::string statsText;       // "N people, N families, N notes, N sources."
    std::string outOfMemoryText; // the message to show, when memory ran out
};

// Reads `in` into `doc`, which must be new: any bytes, UTF-16 and a byte-order
// mark included (gedcom/decoded_input.h). Read errors of the stream leave as
// std::ios_base::failure.
LoadResult LoadGedcom(CStirpexDoc& doc, std::istream& in, std::int64_t fileLength, std::string_view fileName,
                      const LoadEnvironment& env);

// The same for an opened file; the document takes over its archive's media, if any.
LoadResult LoadGedcom(CStirpexDoc& doc, OpenedFile& file, std::string_view fileName, const LoadEnvironment& env);

std::string StatisticsText(const CStirpexDoc& doc);

// Opens and reads the file; `error` gets the reason when it cannot be opened.
LoadResult LoadGedcomFile(CStirpexDoc& doc, const std::filesystem::path& path, const LoadEnvironment& env,
                          std::string& error);

} // namespace stirpex
