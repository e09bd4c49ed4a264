#include "page/recording_surface.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <limits>
#include <string_view>

namespace stirpex {
namespace {

TEST(RecordingSurface, EveryCharacterIsEightUnitsWide) {
    RecordingSurface surface;
    EXPECT_EQ(surface.TextWidth(""), 0);
    EXPECT_EQ(surface.TextWidth("Lee"), 24);
    EXPECT_EQ(surface.TextWidth("\xC3\x85re"), 24); // "Åre": three characters in four bytes
}

// 270,000,011 characters once came to 270000011 * 8, past the largest int.
// The text is a run of NUL characters in pages the kernel maps to its one
// zero page: nothing of the 270 MB is ever allocated.
TEST(RecordingSurface, WidthOfATextTooWideForAnIntIsItsLargestValue) {
    constexpr std::size_t kLength = 270000011;
    void* pages = mmap(nullptr, kLength, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    RecordingSurface surface;
    EXPECT_EQ(surface.TextWidth(std::string_view(static_cast<const char*>(pages), kLength)),
              std::numeric_limits<int>::max());
    munmap(pages, kLength);
}

} // namespace
} // namespace stirpex
