#include "model/text_direction.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace stirpex {
namespace {

// "[" and "]" stand for the isolate's two marks in the expected texts.
std::string marked(std::string text) {
    for (const auto& [from, to] : {std::pair{kFirstStrongIsolate, std::string_view("[")},
                                   std::pair{kPopDirectionalIsolate, std::string_view("]")}}) {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
            text.replace(at, from.size(), to);
        }
    }
    return text;
}

TEST(TextDirection, LinesWithoutRightToLeftLettersStayAsTheyAre) {
    for (const char* line : {"", "Harrow, Daniel (1890-1952)", "Müller, Jürgen (?-1975)", "Иванов, Пётр",
                             "(1900) 12, 5", "王, 小明 (1980-)"}) {
        EXPECT_EQ(IsolateRightToLeft(line), line);
    }
}

TEST(TextDirection, TheLifeSpanStaysOutsideAnArabicOrHebrewName) {
    const struct {
        const char* line;
        const char* expected;
    } cases[] = {
        {"أحمد, محمد (?-1975)", "[أحمد, محمد] (?-1975)"},
        {"כהן, דוד (1950-)", "[כהן, דוד] (1950-)"},
        {"Descendants of محمد أحمد", "Descendants of [محمد أحمد]"},
        // Digits and punctuation between two right-to-left letters belong to the place.
        {"Born 1900 in شارع 5، القاهرة, Egypt", "Born 1900 in [شارع 5، القاهرة], Egypt"},
        // Each name of a line is its own stretch once a Latin letter parts them.
        {"דוד and محمد", "[דוד] and [محمد]"},
        {"כהן", "[כהן]"},
        {"כהן\r\nדוד", "[כהן]\r\n[דוד]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(marked(IsolateRightToLeft(c.line)), c.expected) << c.line;
    }
}

TEST(TextDirection, WithoutIsolatesGivesTheLineBack) {
    for (const char* line : {"أحمد, محمد (?-1975)", "Born 1900 in شارع 5، القاهرة, Egypt", "Harrow", ""}) {
        EXPECT_EQ(WithoutIsolates(IsolateRightToLeft(line)), line);
    }
}

// Copied text leaves every isolate behind, also the left-to-right and right-to-left ones a file may hold,
// and nothing else: the neighbouring invisible marks of the same block, and a cut-off mark, are text.
TEST(TextDirection, WithoutIsolatesTakesOutTheFourIsolatesAndNothingElse) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"\u2066Harrow\u2069, \u2067\u05db\u05d4\u05df\u2069", "Harrow, \u05db\u05d4\u05df"},
        {"\u2068\u2068\u2069\u2069", ""},
        {"a\u2060b\u2065c\u206Ad\u200Fe", "a\u2060b\u2065c\u206Ad\u200Fe"},
        {"Harrow \xE2\x81", "Harrow \xE2\x81"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithoutIsolates(c.text), c.expected) << c.text;
    }
}

TEST(TextDirection, RightToLeftLettersAreThoseOfTheRightToLeftScripts) {
    EXPECT_TRUE(IsRightToLeft(U'א'));
    EXPECT_TRUE(IsRightToLeft(U'م'));
    EXPECT_TRUE(IsRightToLeft(U'\uFEFB')); // Arabic ligature lam-alef, presentation form
    EXPECT_FALSE(IsRightToLeft(U'a'));
    EXPECT_FALSE(IsRightToLeft(U'5'));
}

} // namespace
} // namespace stirpex
