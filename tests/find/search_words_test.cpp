#include "find/search_words.h"

#include "find/search_fold.h"

#include <gtest/gtest.h>

#include <string>

namespace stirpex {
namespace {

std::string folded(std::string_view text) {
    std::string out;
    FoldForSearch(text, out);
    return out;
}

TEST(SearchFold, CapitalsAccentsAndLigaturesAtAnyPosition) {
    // Long ASCII runs go eight bytes at a time: capitals at every offset, and
    // the bytes either side of A and Z, must come out right there too.
    EXPECT_EQ(folded("@AZ[`az{ ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "@az[`az{ abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(folded("Straße in MALMÖ, Æbeltoft, Œuvre, Łódź"), "strasse in malmo, aebeltoft, oeuvre, lodz");
    // Other scripts and broken sequences stay as written.
    EXPECT_EQ(folded("Ωμέγα \xC3 x \xC3("), "Ωμέγα \xC3 x \xC3(");
}

TEST(SearchWords, EachWordBeginsAWordOfTheText) {
    const SearchWords words("Mill, RIVER mill 2nd");
    ASSERT_EQ(words.words(), (std::vector<std::string>{"mill", "river", "2nd"}));
    EXPECT_EQ(words.find("Worked at the windmill", words.all()), 0u);
    std::size_t first = 0;
    EXPECT_EQ(words.find("The 2nd Miller by the Rivers", words.all(), &first), words.all());
    EXPECT_EQ(first, 4u);
    // Only the words asked for are sought.
    EXPECT_EQ(words.find("Miller by the river", WordSet{2}), WordSet{2});
    EXPECT_TRUE(SearchWords(" ,.- ").empty());
}

TEST(SearchWords, ExcerptCutsBetweenCharactersAroundTheMatch) {
    EXPECT_EQ(Excerpt("short note", 6), "short note");
    const std::string text = std::string(40, 'a') + " ééé found here " + std::string(60, 'b');
    const std::string excerpt = Excerpt(text, 48);
    EXPECT_TRUE(excerpt.starts_with("…")) << excerpt;
    EXPECT_TRUE(excerpt.ends_with("…")) << excerpt;
    EXPECT_NE(excerpt.find("ééé found here"), std::string::npos) << excerpt;
}

} // namespace
} // namespace stirpex
