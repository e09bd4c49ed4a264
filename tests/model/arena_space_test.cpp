#include "model/address_ranges.h"
#include "model/arena_space.h"
#include "model/text_arena.h"
#include "support/memory_limit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace stirpex {
namespace {

constexpr std::size_t kPage = 4096;

// Opening and closing files over and over must not run the reservation out:
// what is given back is taken again, joined with its neighbours in any order.
TEST(AddressRanges, RangesGivenBackAreJoinedAndTakenAgain) {
    AddressRanges ranges(100, 1000);
    const std::size_t a = ranges.take(30);
    const std::size_t b = ranges.take(10);
    const std::size_t c = ranges.take(20);
    const std::size_t d = ranges.take(40);
    EXPECT_EQ(a, 100U);
    EXPECT_EQ(b, 130U);
    EXPECT_EQ(c, 140U);
    EXPECT_EQ(d, 160U);
    EXPECT_EQ(ranges.taken(), 100U);

    ranges.give(c, 20);
    ranges.give(a, 30);
    ranges.give(b, 10); // joins both neighbours into one range of 60
    EXPECT_EQ(ranges.taken(), 40U);
    EXPECT_EQ(ranges.take(60), 100U);
    ranges.give(100, 60);
    // The lowest range large enough is the one taken, and what is left of it stays free.
    EXPECT_EQ(ranges.take(25), 100U);
    EXPECT_EQ(ranges.take(35), 125U);
    EXPECT_EQ(ranges.take(5), 200U);
    // Giving back the last ranges before the untouched rest lowers it again.
    ranges.give(200, 5);
    ranges.give(d, 40);
    ranges.give(125, 35);
    ranges.give(100, 25);
    EXPECT_EQ(ranges.taken(), 0U);
    EXPECT_EQ(ranges.take(900), 100U);
}

TEST(AddressRanges, MoreThanIsFreeIsBadAlloc) {
    AddressRanges ranges(0, 100);
    EXPECT_EQ(ranges.take(60), 0U);
    EXPECT_THROW(ranges.take(41), std::bad_alloc);
    EXPECT_EQ(ranges.take(40), 60U);
    ranges.give(0, 60);
    EXPECT_THROW(ranges.take(61), std::bad_alloc);
    EXPECT_EQ(ranges.taken(), 40U);
}

// A chunk taken again has fresh pages, and the handles of its addresses
// lead back to them.
TEST(ArenaSpace, AChunkTakenAgainIsFreshAndItsHandlesFindIt) {
    char* const chunk = arena_space::Take(3 * kPage);
    std::memset(chunk, 'x', 3 * kPage);
    EXPECT_EQ(arena_space::AddressOf(arena_space::HandleOf(chunk + 2)), chunk + 2);
    EXPECT_NE(arena_space::HandleOf(chunk), 0U);
    const std::size_t taken = arena_space::BytesTaken();
    arena_space::Give(chunk, 3 * kPage);
    EXPECT_EQ(arena_space::BytesTaken(), taken - 3 * kPage);
    char* const again = arena_space::Take(3 * kPage);
    EXPECT_EQ(again[0], '\0');
    EXPECT_EQ(again[3 * kPage - 1], '\0');
    arena_space::Give(again, 3 * kPage);
}

TEST(ArenaSpace, MoreThanTheReservationHoldsIsBadAlloc) {
    EXPECT_THROW(arena_space::Take(arena_space::kBytes), std::bad_alloc);
    EXPECT_THROW(arena_space::Take(0), std::bad_alloc);
    // A refused chunk leaves nothing behind.
    const std::size_t taken = arena_space::BytesTaken();
    EXPECT_THROW(arena_space::Take(arena_space::kBytes - kPage + 1), std::bad_alloc);
    EXPECT_EQ(arena_space::BytesTaken(), taken);
}

// The reservation is not counted by the system's limit on the address
// space, so the chunks must be: a model larger than the limit allows meets
// std::bad_alloc, as it would without the reservation.
TEST(ArenaSpace, ALimitOnTheAddressSpaceBoundsTheChunks) {
    if (test::kAddressSanitizer) {
        GTEST_SKIP() << "the sanitizer's shadow memory makes a limit on the address space meaningless";
    }
    const auto storeMegabytes = [](int megabytes) {
        return [megabytes] {
            TextArena arena;
            const std::string text(test::kMiB, 'x');
            for (int i = 0; i < megabytes; ++i) {
                arena.copy(text);
            }
            return true;
        };
    };
    EXPECT_FALSE(test::SucceedsWithin(32 * test::kMiB, storeMegabytes(256)));
    EXPECT_TRUE(test::SucceedsWithin(96 * test::kMiB, storeMegabytes(16)));
}

// Parts of a file are read on several threads at once, each into an arena
// of its own, and documents are opened while others close.
TEST(ArenaSpace, ArenasOnManyThreadsKeepTheirTexts) {
    constexpr int kThreads = 4;
    constexpr int kTexts = 60000;
    std::vector<std::thread> threads;
    std::vector<int> wrong(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int round = 0; round < 3; ++round) {
                TextArena arena;
                std::vector<ArenaStr> texts;
                for (int i = 0; i < kTexts; ++i) {
                    texts.push_back(arena.copy(std::to_string(t) + ":" + std::to_string(i)));
                }
                for (int i = 0; i < kTexts; ++i) {
                    wrong[t] += texts[i].view() != std::to_string(t) + ":" + std::to_string(i);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
}

} // namespace
} // namespace stirpex
