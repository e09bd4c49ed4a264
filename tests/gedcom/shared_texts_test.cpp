#include "gedcom/shared_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stirpex {
namespace {

// Far more texts than the cache has slots, each met twice: every handle must
// read as the text it was asked for, whichever text held its slot before.
TEST(SharedTexts, EveryHandleReadsAsItsTextThroughCollisions) {
    TextArena arena;
    SharedTexts shared(arena);
    std::vector<std::string> texts;
    for (int i = 0; i < 200000; ++i) {
        texts.push_back("@F" + std::to_string(i) + "@");
    }
    for (int round = 0; round < 2; ++round) {
        for (const std::string& text : texts) {
            ASSERT_EQ(shared.store(text).view(), text);
        }
    }
}

TEST(SharedTexts, ARepeatSoonAfterIsStoredOnce) {
    TextArena arena;
    SharedTexts shared(arena);
    const ArenaStr first = shared.store("Paris, France");
    shared.store("London");
    EXPECT_EQ(shared.store("Paris, France").c_str(), first.c_str());
    // Long texts are copied each time: they seldom repeat.
    const std::string note(200, 'x');
    EXPECT_NE(shared.store(note).c_str(), shared.store(note).c_str());
    // The longest shared text is compared in full, its last byte too.
    const std::string longest(47, 'p');
    const ArenaStr kept = shared.store(longest);
    EXPECT_EQ(shared.store(longest).c_str(), kept.c_str());
    EXPECT_EQ(shared.store(std::string(46, 'p') + "q").view(), std::string(46, 'p') + "q");
    const std::string tooLong(48, 'p');
    EXPECT_NE(shared.store(tooLong).c_str(), shared.store(tooLong).c_str());
    EXPECT_TRUE(shared.store("").empty());
}

} // namespace
} // namespace stirpex
