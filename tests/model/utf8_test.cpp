#include "model/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace stirpex {
namespace {

TEST(CountCodePoints, CountsCharactersNotBytes) {
    EXPECT_EQ(CountCodePoints(""), 0u);
    EXPECT_EQ(CountCodePoints("abc"), 3u);
    EXPECT_EQ(CountCodePoints("\xC3\xA9"), 1u);
    EXPECT_EQ(CountCodePoints("\xE2\x82\xAC"), 1u);
    EXPECT_EQ(CountCodePoints("\xF0\x9F\x98\x80"), 1u);
    EXPECT_EQ(CountCodePoints("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z"), 5u);
    EXPECT_EQ(CountCodePoints(std::string_view("a\0b", 3)), 3u);
}

TEST(CountCodePoints, StopsAtTheLimit) {
    EXPECT_EQ(CountCodePoints("abcdef", 4), 4u);
    EXPECT_EQ(CountCodePoints("\xC3\xA9\xC3\xA9\xC3\xA9", 2), 2u);
    EXPECT_EQ(CountCodePoints("ab", 4), 2u);
    EXPECT_EQ(CountCodePoints("ab", 0), 0u);
}

TEST(AppendUtf8, EncodesEachLengthAtItsBoundaries) {
    const struct {
        char32_t cp;
        std::string_view utf8;
    } cases[] = {
        {U'\0', std::string_view("\0", 1)},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFD, "\xEF\xBF\xBD"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        AppendUtf8(out, c.cp);
        EXPECT_EQ(out, "x" + std::string(c.utf8)) << static_cast<unsigned>(c.cp);
    }
}

} // namespace
} // namespace stirpex
