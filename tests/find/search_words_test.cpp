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

// ASCII text is searched as written, other text through its fold: the two
// must agree on what is found and where, whatever the case of the text and
// wherever in an eight-byte block the first other character stands.
TEST(SearchFold, AsciiTextIsSearchedAsItsFoldWouldBe) {
    EXPECT_TRUE(IsAscii("Boston, Massachusetts"));
    for (std::size_t at = 0; at < 17; ++at) {
        std::string text(17, 'a');
        text.replace(at, 1, "\xC3\xA9");
        EXPECT_FALSE(IsAscii(text)) << at;
    }
    for (const std::string_view text : {"The MILLER, the Miller and the mill", "[Mill]{mill}", "x", ""}) {
        for (const std::string_view word : {"mill", "the m", "{m", "[m", "l]", "x"}) {
            const std::string fold = folded(text);
            for (std::size_t from = 0; from <= text.size() + 1; ++from) {
                EXPECT_EQ(FindInAscii(text, word, from), std::string_view(fold).find(word, from))
                    << text << " / " << word << " from " << from;
            }
        }
    }
}

TEST(SearchWords, AccentedAndPlainTextsFindTheSameWordsAtTheSamePlaces) {
    const SearchWords words("muller EMIGRE");
    std::size_t first = 0;
    EXPECT_EQ(words.find("Anna MULLER, emigre", words.all(), &first), words.all());
    EXPECT_EQ(first, 5u);
    EXPECT_EQ(words.find("Anna Müller, émigré", words.all(), &first), words.all());
    EXPECT_EQ(first, 5u);
    EXPECT_EQ(words.find("Anna Mullerova", words.all(), &first), WordSet{1});
    EXPECT_EQ(words.find("Schmuller Reemigre", words.all(), &first), 0u);
    EXPECT_EQ(first, std::string_view::npos);
    EXPECT_TRUE(words.contains("Zürich, SWITZERLAND", "rich, swi"));
    EXPECT_TRUE(words.contains("ZURICH, Switzerland", "zurich"));
    EXPECT_FALSE(words.contains("Zurich", "zurich, "));
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
