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

// A length is written in one byte up to 253 and in more beyond: texts on
// either side of the edge, side by side, and a growing text that crosses it
// in place must each read back whole, without touching their neighbours.
TEST(TextArena, LengthsAroundTheShortFormsEdgeReadBackWhole) {
    TextArena arena;
    std::vector<std::pair<ArenaStr, std::string>> stored;
    for (const std::size_t length : {1, 127, 128, 252, 253, 254, 255, 256, 511, 70000}) {
        std::string text(length, static_cast<char>('a' + length % 26));
        text.back() = '\xFF'; // a byte that looks like the long form's mark
        stored.emplace_back(arena.copy(text), text);
    }
    std::string grown;
    ArenaStr growing;
    for (int i = 0; i < 300; ++i) {
        growing = arena.append(growing, "x");
        grown += 'x';
        ASSERT_EQ(growing.size(), grown.size());
    }
    ExpectStored(growing, grown);
    for (const auto& [handle, text] : stored) {
        ExpectStored(handle, text);
    }
    ArenaStr reserved = arena.reserve(300);
    TextArena::fill(reserved, std::string(260, 'r'));
    ExpectStored(reserved, std::string(260, 'r'));
    TextArena::fill(reserved, "short");
    ExpectStored(reserved, "short");
    ExpectStored(PermanentText("Unknown"), "Unknown");
}

TEST(TextArena, EmptyTextsAreEmptyHandles) {
    TextArena arena;
    const ArenaStr none;
    for (const ArenaStr s : {none, arena.copy(""), arena.append({}, ""), arena.append({}, {})}) {
        ExpectStored(s, "");
        EXPECT_STREQ(s.c_str(), "");
        EXPECT_TRUE(s == "");
    }
}

TEST(TextArena, AppendJoinsThePieces) {
    TextArena arena;
    ArenaStr text = arena.append({}, "p. 12");
    ExpectStored(text, "p. 12");
    text = arena.append(text, "");
    ExpectStored(text, "p. 12");
    text = arena.append(text, "quoted");
    ExpectStored(text, "p. 12quoted");
    ExpectStored(arena.append(arena.append({}, "a\0"sv), "\0b"sv), "a\0\0b"sv);
}

// Each append used to store the whole text again: n pieces cost n²/2 bytes.
TEST(TextArena, AppendCostsMemoryInProportionToWhatIsAppended) {
    constexpr int kPieces = 100000;
    const std::string piece = "0123456789";
    TextArena arena;
    ArenaStr first;
    ArenaStr second;
    std::vector<ArenaStr> between;
    for (int i = 0; i < kPieces; ++i) {
        // Other texts stored in between, and a second growing text, leave no room at the arena's end.
        first = arena.append(first, piece);
        between.push_back(arena.copy(std::to_string(i)));
        second = arena.append(second, piece.substr(0, 1 + i % piece.size()));
    }
    ASSERT_EQ(first.size(), kPieces * piece.size());
    EXPECT_EQ(first.view().substr(first.size() - 20), piece + piece);
    EXPECT_EQ(second.view().substr(0, 9), "001012012");
    for (int i = 0; i < kPieces; ++i) {
        ASSERT_EQ(between[static_cast<std::size_t>(i)].view(), std::to_string(i));
    }
    // 1 MB and 0.55 MB of text, each at most twice over in its last block and once more in the
    // blocks it left behind, plus the short texts and one chunk of slack.
    EXPECT_LT(arena.bytesReserved(), 4 * (first.size() + second.size()) + 2 * kChunk);
}

// The lines of a note or a citation mostly come one after another: a text
// grown with nothing stored behind it, and a list filled the same way, take
// what they hold and their headers, without room to spare or blocks left
// behind (a power-of-two block with those left behind took about twice as much).
TEST(TextArena, WhatGrowsAtTheArenasEndTakesNoMoreThanItHolds) {
    constexpr int kTexts = 100000;
    constexpr std::size_t kTextBytes = 5 + 1 + 60;
    TextArena texts;
    std::vector<ArenaStr> grown;
    for (int i = 0; i < kTexts; ++i) {
        ArenaStr text = texts.append({}, "p. 12");
        text = texts.append(text, "\n");
        text = texts.append(text, std::string(60, static_cast<char>('a' + i % 26)));
        grown.push_back(text);
    }
    for (int i = 0; i < kTexts; ++i) {
        ASSERT_EQ(grown[static_cast<std::size_t>(i)].view(),
                  "p. 12\n" + std::string(60, static_cast<char>('a' + i % 26)));
    }
    EXPECT_LE(texts.bytesReserved(), kTexts * (kTextBytes + 6) + 2 * kChunk);

    constexpr int kLists = 100000;
    TextArena lists;
    std::vector<ArenaStrList> filled(kLists);
    for (int i = 0; i < kLists; ++i) {
        for (int k = 0; k < 3; ++k) {
            filled[static_cast<std::size_t>(i)].append(lists, ArenaStr());
        }
    }
    for (const ArenaStrList& list : filled) {
        ASSERT_EQ(list.size(), 3);
    }
    EXPECT_LE(lists.bytesReserved(), kLists * (8 + 3 * sizeof(ArenaStr)) + 2 * kChunk);

    // Across the ends of chunks, and past the size that gets a chunk of its own.
    TextArena one;
    ArenaStr joined;
    std::string expected;
    for (int i = 0; i < 40000; ++i) {
        const std::string piece = std::to_string(i) + ",";
        joined = one.append(joined, piece);
        expected += piece;
    }
    ExpectStored(joined, expected);
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
    ExpectStored(arena.append(arena.append({}, big), big), big + big);
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
    list.append(arena, arena.append({}, "b"));
    list.last() = arena.append(list.last(), "c");
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
