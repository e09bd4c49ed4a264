#include "find/collator.h"

#include "find/find_test_support.h"
#include "model/shown_text.h"

#include <gtest/gtest.h>

#include <memory_resource>
#include <string>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(CollatorStartsWith, AsciiTextsAreDecidedWithoutTheFolding) {
    struct Case {
        std::string_view text, prefix;
        bool starts;
    };
    const Case cases[] = {
        {"Smith, Mary (?-?)", "smi", true},
        {"Smith, Mary (?-?)", "SMITH, MARY (?-?)", true},
        {"Smith", "Smithe", false},
        {"Smith", "Smy", false},
        {"Smith", "", true},
        {"", "", true},
        {"", "a", false},
        {"[x] @1", "[X] @1", true},
        // '@' and '[' sit just below 'A' and just above 'Z': folding must not touch them.
        {"@", "`", false},
        {"[", "{", false},
    };
    test::AsciiCollator collator;
    for (const Case& c : cases) {
        EXPECT_EQ(collator.startsWith(c.text, c.prefix), c.starts) << c.text << " / " << c.prefix;
    }
    EXPECT_TRUE(collator.folded.empty());
}

TEST(CollatorStartsWith, OtherCharactersHandTheRestOnFromTheFirstOfThem) {
    test::AsciiCollator collator;
    collator.startsWith("Duchêne, Hélène", "duchÊ");
    collator.startsWith("Émile", "émi");
    collator.startsWith("Zoë", "zoe");
    EXPECT_EQ(collator.folded, (Pairs{{"êne, Hélène", "Ê"}, {"Émile", "émi"}, {"ë", "e"}}));

    // A mismatch before the first such character is final.
    collator.folded.clear();
    EXPECT_FALSE(collator.startsWith("Duchêne", "dx"));
    EXPECT_FALSE(collator.startsWith("Du", "Duchêne"));
    EXPECT_TRUE(collator.folded.empty());
}

TEST(CollatorSort, DefaultSortKeepsTheOrderOfEqualTexts) {
    test::AsciiCollator collator;
    std::vector<NameEntry> entries = {{"b", 0}, {"A", 1}, {"B", 2}, {"a", 3}, {"b", 4}};
    collator.sort(entries, std::pmr::get_default_resource());
    std::vector<std::int32_t> persons;
    for (const NameEntry& entry : entries) {
        persons.push_back(entry.person);
    }
    EXPECT_EQ(persons, (std::vector<std::int32_t>{1, 3, 0, 2, 4}));
}

// Names that the list shows alike are ordered by what it shows: a sort of
// whole 50 MB names took seconds and gigabytes for an order nobody can see.
TEST(CollatorSort, TextsAlikeInAllTheListShowsKeepTheirOrder) {
    test::AsciiCollator collator;
    const std::string shown(kMaxShownCodePoints, 'a');
    const std::string b = shown + "b", a = shown + "a", before = shown.substr(1) + "0";
    std::vector<NameEntry> entries = {{b, 0}, {a, 1}, {before, 2}};
    collator.sort(entries, std::pmr::get_default_resource());
    EXPECT_EQ(entries[0].person, 2);
    EXPECT_EQ(entries[1].person, 0);
    EXPECT_EQ(entries[2].person, 1);
}

} // namespace
} // namespace stirpex
