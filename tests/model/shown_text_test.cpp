#include "model/shown_text.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

std::string repeated(std::string_view unit, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text.append(unit);
    }
    return text;
}

TEST(ShownText, TextsUpToTheLimitAreShownWhole) {
    for (const std::string& text : {std::string(), std::string("Harrow, Zo\xC3\xAB (1912-2001)"),
                                    std::string(kMaxShownCodePoints, 'A'), repeated("\xF0\x9F\x8C\xB3", 2000)}) {
        EXPECT_EQ(ShownPrefix(text), text);
        EXPECT_EQ(ShownText(text), text);
        std::string cut = text;
        CutToShown(cut);
        EXPECT_EQ(cut, text);
    }
}

// Cut after the limit's last character, never inside one: one, two, three and four bytes each.
TEST(ShownText, LongerTextsAreCutAtTheLimitWithAnEllipsis) {
    for (const std::string_view unit : {"A", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8C\xB3"}) {
        const std::string text = repeated(unit, kMaxShownCodePoints + 1) + "tail";
        const std::string_view prefix = ShownPrefix(text);
        EXPECT_EQ(prefix.data(), text.data()) << unit;
        EXPECT_EQ(prefix, repeated(unit, kMaxShownCodePoints)) << unit;
        EXPECT_EQ(ShownText(text), repeated(unit, kMaxShownCodePoints) + "\xE2\x80\xA6") << unit;
        std::string cut = text;
        CutToShown(cut);
        EXPECT_EQ(cut, ShownText(text)) << unit;
    }
}

} // namespace
} // namespace stirpex
