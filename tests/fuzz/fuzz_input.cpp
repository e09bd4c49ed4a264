#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace stirpex::fuzz {

void Require(bool holds, std::string_view what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz finding: %.*s\n", static_cast<int>(what.size()), what.data());
        std::abort();
    }
}

std::unique_ptr<CStirpexDoc> LoadDocument(std::span<const std::uint8_t> bytes, const LoadEnvironment& env) {
    auto doc = std::make_unique<CStirpexDoc>();
    std::istringstream in(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const LoadResult result = LoadGedcom(*doc, in, static_cast<std::int64_t>(bytes.size()), kFileName, env);
    Require(result.outcome == LoadOutcome::Loaded, "the reader did not load the input");
    return doc;
}

} // namespace stirpex::fuzz
