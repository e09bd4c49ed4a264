#pragma once

// Short texts that a file repeats (keys, places, surnames) stored once and
// handed out again: a large file names each family from several records and
// the same few hundred places thousands of times. A cache, not a table: each
// text has one slot, chosen by its hash, which holds the text stored last
// there, so memory stays fixed and a text met again soon after is found.
// The texts it hands out are never appended to (TextArena::append takes only
// texts that it made).

#include "model/text_arena.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace stirpex {

class SharedTexts {
public:
    explicit SharedTexts(TextArena& arena) : m_arena(arena) {}

    ArenaStr store(std::string_view text);

private:
    // 64 bytes a slot, 256 KB in all, made on first use: small enough to stay
    // in a core's own cache, where a larger table spent more time waiting for
    // memory than the texts it shared saved.
    static constexpr std::size_t kSlots = std::size_t{1} << 12;
    // Longer texts seldom repeat, and comparing them would cost more than it saves.
    static constexpr std::size_t kLongestShared = 47;

    struct Slot {
        std::uint64_t hash = 0;
        ArenaStr text;
        std::uint8_t length = 0;
        char bytes[kLongestShared] = {};
    };

    TextArena& m_arena;
    std::unique_ptr<Slot[]> m_slots;
};

} // namespace stirpex
