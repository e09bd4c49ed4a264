#include "find/key_prefix_sort.h"

#include "find/find_test_support.h"
#include "model/shown_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory_resource>
#include <string>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

using detail::KeyPrefix;
using detail::kKeyPrefixBytes;

// Records the texts compared whole.
class CountingCollator final : public test::AsciiCollator {
public:
    int compare(std::string_view a, std::string_view b) const override {
        compared.emplace_back(a, b);
        return AsciiCollator::compare(a, b);
    }
    mutable std::vector<std::pair<std::string, std::string>> compared;
};

std::vector<NameEntry> EntriesOf(const std::vector<std::string>& texts) {
    std::vector<NameEntry> entries;
    for (const std::string& text : texts) {
        entries.push_back({text, static_cast<std::int32_t>(entries.size())});
    }
    return entries;
}

const std::string kLong = "Smith-Jonesworth, Alexandrina (?-?)";

const std::vector<std::string> kTexts = {
    kLong, // alike in the whole prefix with the next two, not after it
    "smith-jonesworth, Alexandra (?-?)",
    "SMITH-JONESWORTH, ALEXANDRA (?-?)", // equal but for case: keeps its place after the one above
    "Lee, Ann",
    "lee, ann",
    "Lee, An",
    "",
    kLong.substr(0, kKeyPrefixBytes),     // a whole key that fills its prefix
    kLong.substr(0, kKeyPrefixBytes + 1), // and one a byte longer
    "Zola",
    "Lee, Ann",
};

TEST(KeyPrefixSort, SameOrderAsAStablePairwiseSortWithTextsAndPersonsMovedTogether) {
    const test::AsciiCollator collator;
    std::vector<NameEntry> byPrefix = EntriesOf(kTexts);
    std::vector<NameEntry> pairwise = byPrefix;
    detail::SortByKeyPrefix(byPrefix, collator, test::FoldedPrefix, std::pmr::get_default_resource());
    collator.Collator::sort(pairwise, std::pmr::get_default_resource());
    ASSERT_EQ(byPrefix.size(), kTexts.size());
    for (std::size_t i = 0; i < byPrefix.size(); ++i) {
        EXPECT_EQ(byPrefix[i].text, pairwise[i].text) << i;
        EXPECT_EQ(byPrefix[i].person, pairwise[i].person) << i;
        EXPECT_EQ(kTexts[static_cast<std::size_t>(byPrefix[i].person)], byPrefix[i].text) << i;
    }
    EXPECT_EQ(byPrefix.front().person, 6);
    EXPECT_EQ(byPrefix.back().person, 9);
}

// The memory of the sort is a prefix per entry because the collator is asked
// only where two prefixes cannot decide: both alike and neither key ended.
TEST(KeyPrefixSort, OnlyTextsWhosePrefixesCannotDecideAreComparedWhole) {
    const CountingCollator collator;
    std::vector<NameEntry> entries = EntriesOf(kTexts);
    detail::SortByKeyPrefix(entries, collator, test::FoldedPrefix, std::pmr::get_default_resource());
    const auto compared = collator.compared;
    ASSERT_FALSE(compared.empty());
    for (const auto& [a, b] : compared) {
        EXPECT_GT(a.size(), kKeyPrefixBytes - 1) << a << " / " << b;
        EXPECT_GT(b.size(), kKeyPrefixBytes - 1) << a << " / " << b;
        EXPECT_EQ(collator.compare(a.substr(0, kKeyPrefixBytes), b.substr(0, kKeyPrefixBytes)), 0) << a << " / " << b;
    }
}

// A 50 MB name is keyed and compared by what the list shows of it.
TEST(KeyPrefixSort, KeysAndComparisonsTakeTheShownTextOnly) {
    const CountingCollator collator;
    const std::string shown(kMaxShownCodePoints, 'a');
    const std::string b = shown + "b", a = shown + "a", before = shown.substr(1) + "0";
    std::vector<NameEntry> entries = {{b, 0}, {a, 1}, {before, 2}};
    std::size_t longestKeyed = 0;
    const auto measuring = [&](std::string_view text, KeyPrefix& prefix) {
        longestKeyed = std::max(longestKeyed, text.size());
        test::FoldedPrefix(text, prefix);
    };
    detail::SortByKeyPrefix(entries, collator, measuring, std::pmr::get_default_resource());
    EXPECT_EQ(longestKeyed, kMaxShownCodePoints);
    for (const auto& [x, y] : collator.compared) {
        EXPECT_LE(std::max(x.size(), y.size()), kMaxShownCodePoints);
    }
    EXPECT_EQ(entries[0].person, 2);
    EXPECT_EQ(entries[1].person, 0);
    EXPECT_EQ(entries[2].person, 1);
}

} // namespace
} // namespace stirpex
