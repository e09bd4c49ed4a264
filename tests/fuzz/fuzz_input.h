#pragma once

// What every fuzz target starts from. The fuzzed bytes are read whole as a
// GEDCOM file, as the viewer reads one: UTF-16 and byte-order marks through
// the same detection, and bytes that start as a zip archive does as a GEDZIP
// archive, from memory, its media read back too. The choices a target makes beyond the
// file (a window width, the first person to open, a memory budget) are taken
// from the same bytes, read from the end. So each input, a crash input too,
// replays a whole run and also opens as it is in stirpex-cli and the viewer.

#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace stirpex::fuzz {

// The name the document is loaded under; captions end in it.
inline constexpr std::string_view kFileName = "fuzz.ged";

// A property every input must keep: when it does not hold, says which on
// standard error and aborts, which libFuzzer keeps as a crash input.
void Require(bool holds, std::string_view what);

// Reads the bytes into a new document. The reader accepts any bytes, so an
// input it does not load is itself a finding.
std::unique_ptr<CStirpexDoc> LoadDocument(std::span<const std::uint8_t> bytes, const LoadEnvironment& env = {});

class Choices {
public:
    explicit Choices(std::span<const std::uint8_t> bytes) : m_provider(bytes.data(), bytes.size()) {}

    // A number in [low, high]; low once the input is used up.
    template <typename T> T pick(T low, T high) { return m_provider.ConsumeIntegralInRange<T>(low, high); }
    bool flip() { return m_provider.ConsumeBool(); }
    // Up to `maxLength` bytes, as typed into a search field.
    std::string text(std::size_t maxLength) { return m_provider.ConsumeRandomLengthString(maxLength); }

private:
    FuzzedDataProvider m_provider;
};

// The persons a target opens: up to `limit` of them in table order, starting
// at a chosen one and wrapping round, so that every person of a big file is
// reachable by some input while each input stays quick.
template <typename Visit> void ForSomePersons(const CStirpexDoc& doc, Choices& choices, int limit, Visit visit) {
    const std::int32_t count = doc.m_nPersons;
    if (count == 0) {
        return;
    }
    const std::int32_t first = choices.pick<std::int32_t>(0, count - 1);
    for (std::int32_t i = 0; i < count && i < limit; ++i) {
        visit(*doc.m_ppPersons[static_cast<std::size_t>((first + i) % count)]);
    }
}

} // namespace stirpex::fuzz
