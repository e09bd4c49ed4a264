#include "model/readable_date.h"

#include "model/date_year.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace stirpex {
namespace {

TEST(ReadableDate, CalendarBecomesAWordAfterEachDate) {
    const struct {
        std::string_view date;
        std::string_view readable;
    } cases[] = {
        {"@#DJULIAN@ 1 JAN 1700", "1 JAN 1700 (Julian)"},
        {"FROM @#DJULIAN@ 1700 TO @#DGREGORIAN@ 1710", "FROM 1700 (Julian) TO 1710 (Gregorian)"},
        {"BET @#DFRENCH R@ 1 VEND 12 AND 5 BRUM 12", "BET 1 VEND 12 (French republican) AND 5 BRUM 12"},
        {"@#DHEBREW@ 5600", "5600 (Hebrew)"},
        {"@#DROMAN@ 28", "28 (Roman)"},
        {"@#DUNKNOWN@ 87", "87 (unknown calendar)"},
        {"ABT @#DJULIAN@ 1700", "ABT 1700 (Julian)"},
        {"@#DJULIAN@1700", "1700 (Julian)"},
        {"@#DJULIAN@", "(Julian)"},
        {"@#DMAYAN@ 9 BAKTUN", "9 BAKTUN (MAYAN)"}, // a calendar GEDCOM does not name, as written
        // Elsewhere than at the start it is taken out all the same.
        {"1 @#DJULIAN@ JAN 1700", "1 JAN 1700 (Julian)"},
        // The word goes before a date phrase, and a keyword in the phrase is text.
        {"INT @#DJULIAN@ 1700 (FROM the will TO the grave)", "INT 1700 (Julian) (FROM the will TO the grave)"},
        // GEDCOM 7 writes the calendar as a bare word, which opens a date only.
        {"JULIAN 12 AUG 1401 BCE", "12 AUG 1401 BCE (Julian)"},
        {"BET GREGORIAN 1401 AND GREGORIAN 1408", "BET 1401 (Gregorian) AND 1408 (Gregorian)"},
        {"FRENCH_R 11 PLUV 80", "11 PLUV 80 (French republican)"},
        {"FROM _ROMAN 17 TO GREGORIAN 979 BCE", "FROM _ROMAN 17 TO 979 BCE (Gregorian)"},
        {"HEBREW", "(Hebrew)"},
    };
    for (const auto& c : cases) {
        std::string buffer;
        EXPECT_EQ(ReadableDate(c.date, buffer), c.readable) << c.date;
        EXPECT_EQ(DateQualifier(ReadableDate(c.date, buffer)), DateQualifier(c.date)) << c.date;
    }
}

// Nearly every date of a file names no calendar: it is kept as it is, not copied.
TEST(ReadableDate, DatesWithoutCalendarAreTheValueItself) {
    const std::string_view dates[] = {
        "12 MAR 1850",           "BET 1800 AND 1810", "ABT 1850/51",  "JULIANA 1800",
        "(JULIAN 1700)",         "@#DJULIAN",         "15 MAR 44 BC", "",
        "INT 1700 (born @home)",
    };
    for (const std::string_view date : dates) {
        std::string buffer;
        const std::string_view readable = ReadableDate(date, buffer);
        EXPECT_EQ(readable, date);
        if (date.find('@') == std::string_view::npos) {
            EXPECT_EQ(readable.data(), date.data()) << date;
        }
    }
}

} // namespace
} // namespace stirpex
