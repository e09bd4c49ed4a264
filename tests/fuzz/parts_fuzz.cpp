// Any bytes read in parts on several threads give exactly the document one
// pass gives: the same dump, the same reading log, the same encoding. The
// parts' size is taken from the input's last bytes, down to one byte, so that
// every record can start a part of its own.

#include "fuzz_input.h"
#include "gedcom/comparable_dump.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace stirpex;
using fuzz::Require;

struct Reading {
    std::string dump;
    std::string log;
    EncodingDecision encoding;
    LoadOutcome outcome = LoadOutcome::Loaded;
};

Reading read(std::string_view bytes, unsigned threads, std::size_t partBytes) {
    LoadEnvironment env;
    env.threads = threads;
    env.partBytes = partBytes;
    CStirpexDoc doc;
    LoadResult result;
    Reading reading;
    reading.dump = test::LoadComparable(doc, bytes, env, result);
    reading.log = test::LogText(doc.m_readingLog);
    reading.encoding = doc.m_encoding;
    reading.outcome = result.outcome;
    return reading;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::Choices choices({data, size});
    const auto partBytes = choices.pick<std::size_t>(1, 512);
    const auto threads = choices.pick<unsigned>(2, 4);
    const Reading whole = read(bytes, 1, 0);
    const Reading parts = read(bytes, threads, partBytes);
    Require(whole.outcome == LoadOutcome::Loaded && parts.outcome == LoadOutcome::Loaded, "a reading failed");
    Require(whole.dump == parts.dump, "the parts give another model than one pass");
    Require(whole.log == parts.log, "the parts give another reading log than one pass");
    Require(whole.encoding == parts.encoding, "the parts decide another encoding than one pass");
    return 0;
}
