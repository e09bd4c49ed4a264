#include "page/line_breaks.h"

#include "page/recording_surface.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {
namespace {

using Lines = std::vector<std::string_view>;

// Every character is 8 units wide on the recording surface.
TEST(BreakLines, BreaksAfterTheLastBlankThatFits) {
    RecordingSurface surface;
    const struct {
        std::string_view text;
        int width;
        Lines lines;
    } cases[] = {
        {"short", 80, {"short"}},
        {"exactly ten", 88, {"exactly ten"}},
        {"one two three four", 80, {"one two ", "three four"}},
        {"one two three four", 72, {"one two ", "three ", "four"}},
        // Blanks stay with the line before, so the lines put together are the
        // text, and take no room there.
        {"one   two", 40, {"one   ", "two"}},
        {"one two ", 24, {"one ", "two "}},
        {"", 8, {""}},
        // No width known: nothing is broken.
        {"one two three", 0, {"one two three"}},
        {"one two three", -5, {"one two three"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BreakLines(surface, c.text, c.width), c.lines) << c.text << " in " << c.width;
    }
}

TEST(BreakLines, AWordWiderThanTheLineIsCutBetweenCharacters) {
    RecordingSurface surface;
    EXPECT_EQ(BreakLines(surface, "abcdefghij kl", 32), (Lines{"abcd", "efgh", "ij ", "kl"}));
    // Never fewer than one character, however narrow.
    EXPECT_EQ(BreakLines(surface, "abc", 3), (Lines{"a", "b", "c"}));
}

TEST(BreakLines, NeverSplitsACharacter) {
    RecordingSurface surface;
    // "éü€" is three characters in two, two and three bytes.
    const std::string text = "\xC3\xA9\xC3\xBC\xE2\x82\xAC";
    EXPECT_EQ(BreakLines(surface, text, 16), (Lines{"\xC3\xA9\xC3\xBC", "\xE2\x82\xAC"}));
}

} // namespace
} // namespace stirpex
