#include "model/record_map.h"

#include <cstring>

namespace stirpex::detail {

namespace {

template <typename Word> Word load(const char* p) noexcept {
    Word word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

} // namespace

std::uint64_t hashKey(std::string_view key) noexcept {
    // Keys are mostly short, but any length is hashed whole: eight bytes at a
    // time, the last eight overlapping those before, and a short key in two
    // or three loads that stay inside it, so that no load has a variable size.
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = key.size() * kMultiplier;
    const auto mix = [&hash](std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    };
    const char* p = key.data();
    std::size_t rest = key.size();
    if (rest >= 8) {
        for (; rest > 8; rest -= 8, p += 8) {
            mix(load<std::uint64_t>(p));
        }
        mix(load<std::uint64_t>(p + rest - 8));
    } else if (rest >= 4) {
        mix(load<std::uint32_t>(p) | std::uint64_t{load<std::uint32_t>(p + rest - 4)} << 32);
    } else if (rest > 0) {
        const auto byte = [p](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(p[i])}; };
        mix(byte(0) | byte(rest / 2) << 8 | byte(rest - 1) << 16);
    }
    hash *= kMultiplier;
    return hash ^ (hash >> 32);
}

} // namespace stirpex::detail
