#include "model/text_arena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

using namespace std::string_view_literals;

constexpr std::size_t kChunk = std::size_t{1} << 20;

void ExpectStored(ArenaStr s, std::string_view text) {
    EXPECT_EQ(s.size(), text.size());
    EXPECT_EQ(s.view(), text);
    EXPECT_EQ(s.empty(), text.empty());
    // c_str is terminated, also when the text holds a NUL of its own.
    EXPECT_EQ(s.c_str()[text.size()], '\0');
}

TEST(TextArena, CopyKeepsTheExactBytes) {
    TextArena arena;
    const std::string source = "Ren\xC3\xA9";
    const ArenaStr s = arena.copy(source);
    ExpectStored(s, "Ren\xC3\xA9");
    EXPECT_NE(s.c_str(), source.c_str());
    ExpectStored(arena.copy("a\0b"sv), "a\0b"sv);
}

TEST(TextArena, EmptyTextsAreEmptyHandles) {
    TextArena arena;
    const ArenaStr none;
    for (const ArenaStr s : {none, arena.copy(""), arena.concat("", ""), arena.concat({}, {})}) {
        ExpectStored(s, "");
        EXPECT_STREQ(s.c_str(), "");
        EXPECT_TRUE(s == "");
    }
}

TEST(TextArena, ConcatJoinsBothParts) {
    TextArena arena;
    ExpectStored(arena.concat("p. 12", "quoted"), "p. 12quoted");
    ExpectStored(arena.concat("", "x"), "x");
    ExpectStored(arena.concat("x", ""), "x");
    ExpectStored(arena.concat("a\0"sv, "\0b"sv), "a\0\0b"sv);
}

TEST(TextArena, EarlierTextsSurviveManyLaterOnes) {
    // Enough text for several chunks: a chunk that moved or was reused would corrupt the first ones.
    TextArena arena;
    std::vector<std::pair<ArenaStr, std::string>> stored;
    for (int i = 0; i < 60000; ++i) {
        std::string text = std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), 'a' + i % 26);
        stored.emplace_back(arena.copy(text), std::move(text));
    }
    EXPECT_GT(arena.bytesReserved(), 2 * kChunk);
    for (const auto& [s, text] : stored) {
        ASSERT_EQ(s.view(), text);
    }
}

TEST(TextArena, TextsLargerThanAChunkAreStoredWhole) {
    TextArena arena;
    const ArenaStr before = arena.copy("before");
    std::string big(3 * kChunk + 7, 'b');
    big[kChunk] = 'X';
    const ArenaStr large = arena.copy(big);
    const ArenaStr after = arena.copy("after");
    ExpectStored(large, big);
    ExpectStored(before, "before");
    ExpectStored(after, "after");
    ExpectStored(arena.concat(big, big), big + big);
}

TEST(TextArena, AllocateHonoursTheAlignment) {
    TextArena arena;
    arena.copy("x");
    for (const std::size_t alignment : {std::size_t{1}, std::size_t{8}, std::size_t{64}, std::size_t{4096}}) {
        for (const std::size_t bytes : {std::size_t{1}, std::size_t{100}, kChunk}) {
            const auto address = reinterpret_cast<std::uintptr_t>(arena.allocate(bytes, alignment));
            EXPECT_EQ(address % alignment, 0u) << bytes << " bytes at alignment " << alignment;
        }
    }
}

TEST(ArenaStrList, KeepsEveryAppendedTextInOrder) {
    TextArena arena;
    ArenaStrList list;
    for (int i = 0; i < 5000; ++i) {
        list.append(arena, arena.copy(std::to_string(i)));
    }
    list.append(arena, ArenaStr());
    ASSERT_EQ(list.size(), 5001);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(list[i].view(), std::to_string(i));
    }
    EXPECT_TRUE(list[5000].empty());
    EXPECT_EQ(list.end() - list.begin(), 5001);
}

TEST(ArenaStrList, EmptyListHasNothingToVisit) {
    const ArenaStrList list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.size(), 0);
    EXPECT_EQ(list.begin(), list.end());
}

TEST(ArenaStrList, LastWritesThroughToTheList) {
    TextArena arena;
    ArenaStrList list;
    list.append(arena, arena.copy("a"));
    list.append(arena, arena.copy("b"));
    list.last() = arena.concat(list.last(), "c");
    EXPECT_EQ(list[0].view(), "a");
    EXPECT_EQ(list[1].view(), "bc");
}

TEST(ArenaStrList, IndexOutsideTheListThrows) {
    TextArena arena;
    ArenaStrList list;
    EXPECT_THROW(list[0], std::invalid_argument);
    EXPECT_THROW(list.last(), std::invalid_argument);
    list.append(arena, arena.copy("a"));
    list.append(arena, arena.copy("b"));
    EXPECT_THROW(list[-1], std::invalid_argument);
    EXPECT_THROW(list[2], std::invalid_argument);
    EXPECT_EQ(list[1].view(), "b");
}

} // namespace
} // namespace stirpex
