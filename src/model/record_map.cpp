#include "model/record_map.h"

#include <cstring>

namespace stirpex::detail {

std::uint64_t hashKey(std::string_view key) noexcept {
    // Keys are mostly short, but any length is hashed whole; mix eight bytes at a time.
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = key.size() * kMultiplier;
    const char* p = key.data();
    std::size_t rest = key.size();
    while (rest >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
        p += 8;
        rest -= 8;
    }
    if (rest > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, rest);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    }
    hash *= kMultiplier;
    return hash ^ (hash >> 32);
}

} // namespace stirpex::detail
