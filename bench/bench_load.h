#pragma once

// Loading the file a benchmark measures: the document, the seconds it took,
// or a message and exit status 1 when it cannot be read.

#include "bench_timing.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace stirpex::bench {

// Loads `file` into `doc` and returns the seconds it took; ends the program when it cannot.
inline double LoadOrExit(CStirpexDoc& doc, const char* file, const char* program) {
    std::string error;
    const auto start = Clock::now();
    const LoadResult loaded = LoadGedcomFile(doc, file, {}, error);
    const double seconds = secondsSince(start);
    if (!error.empty() || loaded.outcome != LoadOutcome::Loaded) {
        std::fprintf(stderr, "%s: cannot load %s: %s\n", program, file,
                     error.empty() ? "out of memory" : error.c_str());
        std::exit(1);
    }
    return seconds;
}

} // namespace stirpex::bench
