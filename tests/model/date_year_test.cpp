#include "model/date_year.h"

#include <gtest/gtest.h>

#include <string_view>

namespace stirpex {
namespace {

TEST(DateYear, IsTheLastRunOfExactlyFourDigits) {
    const struct {
        std::string_view date;
        int year;
    } cases[] = {
        {"12 MAR 1850", 1850},
        {"ABT 1850/51", 1850}, // too short a run is passed over
        {"1850-12345", 1850},  // and so is too long a one
        {"BET 1800 AND 1850", 1850},
        {"1850 12", 1850},
        {"1850", 1850}, // four characters are enough
        {"0099", 99},
        {"1850AB", 1850},
        {"X1850", 1850},
        {"MAR 850", -1},
        {"12345", -1},
        {"18501 12", -1},
        {"ABT 18", -1},
        {"", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateYear(c.date), c.year) << c.date;
    }
}

TEST(DateQualifier, AbtBeforeBefBeforeAft) {
    const struct {
        std::string_view date;
        std::string_view qualifier;
    } cases[] = {
        {"ABT 1850", "c"},     {"BEF 1850", "<"},     {"AFT 1850", ">"}, {"AFT BEF 1850", "<"},
        {"BEF 1850 ABT", "c"}, {"AFT 1850 ABT", "c"}, {"CABTX", "c"}, // not limited to words
        {"abt 1850", ""},                                             // case-sensitive
        {"AB T 1850", ""},     {"1850", ""},          {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateQualifier(c.date), c.qualifier) << c.date;
    }
}

} // namespace
} // namespace stirpex
