#include "gedcom/start_option.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace stirpex {
namespace {

TEST(ParseStartOption, KeyFollowsBlankDashI) {
    const struct {
        std::string_view arguments;
        std::optional<std::string> key;
    } cases[] = {
        {"family.ged -i I12", "I12"},
        {"family.ged -iI12", "I12"},
        {"family.ged -i   I12 more", "I12"},
        {"family.ged -i\tI12\tmore", "I12"},
        {"family.ged -x -i I12", "I12"},
        {"family.ged -i A -i B", "A"},
        {"family.ged -i", ""}, // present, so the index is not built, but names nobody
        {"family.ged -i   ", ""},
        {"family.ged -ix-y", "x-y"},
        {"family.ged", std::nullopt},
        {"family.ged -I I12", std::nullopt},
        {"family.ged --i I12", std::nullopt},
        {"-i I12", std::nullopt}, // without a blank before it, "-i" is not the option
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseStartOption(c.arguments), c.key) << c.arguments;
    }
}

TEST(ParseStartOption, OptionMustFollowTheTitle) {
    EXPECT_EQ(ParseStartOption("a.ged b.ged -i I2", "b.ged"), "I2");
    EXPECT_EQ(ParseStartOption("a.ged -i I1 b.ged", "b.ged"), std::nullopt);
    EXPECT_EQ(ParseStartOption("a.ged -i I1", "c.ged"), std::nullopt);
    // The search starts right after the title, so the title may end where the option starts.
    EXPECT_EQ(ParseStartOption("a.ged -i I1", "a.ged"), "I1");
}

} // namespace
} // namespace stirpex
