#include "model/date_year.h"

#include "model/readable_date.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace stirpex {
namespace {

TEST(DateYear, IsTheLastRunOfThreeOrFourDigits) {
    const struct {
        std::string_view date;
        std::int32_t year;
    } cases[] = {
        {"12 MAR 1850", 1850},
        {"MAR 850", 850},
        {"26 OCT 899", 899},
        {"ABT 1850/51", 1850}, // too short a run is passed over
        {"1750/1751", 1750},   // the second year of a dual year never counts
        {"1850-12345", 1850},  // nor does too long a run
        {"BET 1800 AND 1850", 1850},
        {"BET 1800 AND MAR", 1800},
        {"1850 12", 1850},
        {"1850", 1850}, // four characters are enough
        {"0099", 99},
        {"1850AB", 1850},
        {"X1850", 1850},
        {"INT 1850 (about 1851)", 1850}, // a phrase gives the year only where nothing else does
        {"(born 1850)", 1850},
        {"abt. 716 BC (or 725)", -716},
        {"850", 850},     // a year alone, though three characters are otherwise too few
        {"85A", kNoYear}, // which they are for anything else
        {"085", 85},
        {"12345", kNoYear},
        {"18501 12", kNoYear},
        {"ABT 18", kNoYear},
        {"12 MAR", kNoYear},
        {"", kNoYear},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateYear(c.date), c.year) << c.date;
    }
}

// Before the common era the mark makes any run of up to four digits a year,
// which is stored negative; a day is never so marked.
TEST(DateYear, YearsBeforeTheCommonEraAreNegative) {
    const struct {
        std::string_view date;
        std::int32_t year;
    } cases[] = {
        {"15 MAR 44 BC", -44},
        {"44 B.C.", -44},
        {"ABT 44BC", -44},
        {"12 AUG 1401 BCE", -1401},
        {"1401/8 B.C.", -1401},
        {"8 MAR 1401/8 B.C.", -1401},
        {"44 bc", -44},
        {"1 BC", -1},
        {"609 BC Megiddo", -609},
        {"FROM MAR 1689 BCE TO 1550", 1550},
        {"FROM 1689 TO 1550 BCE", -1550},
        {"44 BCX", kNoYear}, // not the mark but a word
        {"5? BC", kNoYear},
        {"BC 44", kNoYear},
        {"12 BC 1850", 1850},
        {"12345 BC", kNoYear},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateYear(c.date), c.year) << c.date;
    }
}

// Gregorian and Julian dates give years; a Hebrew year or one of the French
// republic cannot be set beside them, nor one of a calendar GEDCOM 7 adds.
// The year is read from the date as stored, and a value with an escape
// gives the same year as written.
TEST(DateYear, OnlyGregorianAndJulianDatesGiveYears) {
    const struct {
        std::string_view date;
        std::int32_t year;
    } cases[] = {
        {"@#DJULIAN@ 1 JAN 1700", 1700},
        {"@#DGREGORIAN@ 1 JAN 1700", 1700},
        {"JULIAN 12 AUG 1401 BCE", -1401},
        {"@#DHEBREW@ 5600", kNoYear},
        {"HEBREW 1 TSH 5600", kNoYear},
        {"@#DFRENCH R@ 1 VEND 1012", kNoYear},
        {"FRENCH_R 1 VEND 1012", kNoYear},
        {"@#DROMAN@ 1017", kNoYear},
        {"@#DUNKNOWN@ 1017", kNoYear},
        {"_ROMAN 1017", kNoYear},
        {"BET @#DGREGORIAN@ 1850 AND @#DHEBREW@ 5611", 1850},
        {"FROM @#DHEBREW@ 5600 TO 1850", 1850},
        {"FROM _ROMAN 17 TO GREGORIAN 979 BCE", -979},
        {"FROM JULIAN 6 DEC 1689 BCE TO JULIAN 132 BCE", -132},
        {"INT @#DHEBREW@ 5600 (said 1840)", kNoYear}, // nor does a phrase in a Hebrew date
    };
    for (const auto& c : cases) {
        std::string buffer;
        EXPECT_EQ(DateYear(ReadableDate(c.date, buffer)), c.year) << buffer;
        if (c.date.find('@') != std::string_view::npos) {
            EXPECT_EQ(DateYear(c.date), c.year) << c.date;
        }
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

TEST(AppendYear, CommonEraAsWrittenEarlierWithBcUnknownAsQuestionMark) {
    const struct {
        std::int32_t year;
        std::string_view shown;
    } cases[] = {{1850, "1850"}, {850, "850"}, {0, "0"}, {-44, "44 BC"}, {-1, "1 BC"}, {kNoYear, "?"}};
    for (const auto& c : cases) {
        std::string out = "x";
        AppendYear(out, c.year);
        EXPECT_EQ(out, "x" + std::string(c.shown)) << c.year;
    }
}

} // namespace
} // namespace stirpex
