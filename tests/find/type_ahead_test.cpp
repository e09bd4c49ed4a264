#include "find/type_ahead.h"

#include "find/find_test_support.h"
#include "model/shown_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stirpex {
namespace {

// The entries view `texts`, which must outlive them.
std::vector<NameEntry> Sorted(const Collator& collator, const std::vector<std::string>& texts) {
    std::vector<NameEntry> entries;
    for (const std::string& text : texts) {
        entries.push_back({text, static_cast<std::int32_t>(entries.size())});
    }
    collator.sort(entries, std::pmr::get_default_resource());
    return entries;
}

TEST(TypeAhead, FirstEntryInListOrderThatBeginsWithTheTextInAnyCase) {
    const test::AsciiCollator collator;
    const std::vector<std::string> texts = {"Smith, Zoe (?-?)",  "Lin, Ada (?-?)",   "smith, Al (?-?)",
                                            "Fitz, Ann (?-?)",   "Linden, Bo (?-?)", "Fitzgerald, C (?-?)",
                                            "Smithers, D (?-?)", ", Nameless (?-?)"};
    const std::vector<NameEntry> entries = Sorted(collator, texts);
    const auto typed = [&](std::string_view text) {
        const int position = FindTyped(entries, collator, text);
        return position < 0 ? std::string("none") : std::string(entries[static_cast<std::size_t>(position)].text);
    };
    EXPECT_EQ(typed("f"), "Fitz, Ann (?-?)");
    EXPECT_EQ(typed("FITZG"), "Fitzgerald, C (?-?)");
    EXPECT_EQ(typed("lin"), "Lin, Ada (?-?)");
    EXPECT_EQ(typed("lind"), "Linden, Bo (?-?)");
    EXPECT_EQ(typed("smith, a"), "smith, Al (?-?)");
    EXPECT_EQ(typed("Smithe"), "Smithers, D (?-?)");
    EXPECT_EQ(typed(", n"), ", Nameless (?-?)");
    EXPECT_EQ(typed(""), ", Nameless (?-?)");
    // Between two entries, before the first and after the last: nobody.
    EXPECT_EQ(typed("lio"), "none");
    EXPECT_EQ(typed(" "), "none");
    EXPECT_EQ(typed("zz"), "none");
    EXPECT_EQ(typed("Smithers, D (?-?) and more"), "none");
    EXPECT_EQ(FindTyped({}, collator, "a"), -1);
}

// An entry too long to show is sorted, and so found, by the part shown.
TEST(TypeAhead, LongEntryFoundByItsShownBeginning) {
    const test::AsciiCollator collator;
    const std::string longName = "Long, " + std::string(kMaxShownCodePoints + 10, 'x');
    const std::vector<std::string> texts = {"Abel, A (?-?)", longName, "Moss, M (?-?)"};
    const std::vector<NameEntry> entries = Sorted(collator, texts);
    EXPECT_EQ(FindTyped(entries, collator, "long, xxx"), 1);
}

class CountingCollator : public test::AsciiCollator {
public:
    int comparePrefix(std::string_view text, std::string_view prefix) const override {
        ++calls;
        return AsciiCollator::comparePrefix(text, prefix);
    }
    mutable int calls = 0;
};

// A key on a list of millions must not walk the list.
TEST(TypeAhead, HalvesTheListInsteadOfWalkingIt) {
    CountingCollator collator;
    std::vector<std::string> texts;
    for (int i = 0; i < 1 << 20; ++i) {
        texts.push_back("Name" + std::to_string(1000000 + i));
    }
    const std::vector<NameEntry> entries = Sorted(collator, texts);
    collator.calls = 0;
    EXPECT_EQ(entries[static_cast<std::size_t>(FindTyped(entries, collator, "name1999"))].text, "Name1999000");
    EXPECT_LE(collator.calls, 22);
}

} // namespace
} // namespace stirpex
