#pragma once

// The pieces of a date value as GEDCOM writes it. A value is one date or a
// range or period of two ("BET 1800 AND 1810", "FROM 1700 TO 1710"), each
// date after its keyword; each date may begin with its calendar: an escape
// (@#DJULIAN@, @#DFRENCH R@ ...) or, as GEDCOM 7 writes it, a bare word
// (JULIAN, FRENCH_R ...). A date without one is Gregorian.

#include <cstddef>
#include <string_view>

namespace stirpex::detail {

struct Calendar {
    std::string_view escapeName; // between "@#D" and "@"
    std::string_view word;       // GEDCOM 7's bare word; empty where there is none
    std::string_view shown;      // what the page shows after the date
    bool givesYears;             // whether its years are the common era's, comparable with the others
};

// The calendars GEDCOM names. Years are read from Gregorian and Julian dates
// only: a Hebrew year (5600) or a year of the French republic (an XII) is not
// one the life span could set beside the others.
inline constexpr Calendar kCalendars[] = {
    {"GREGORIAN", "GREGORIAN", "Gregorian", true},
    {"JULIAN", "JULIAN", "Julian", true},
    {"HEBREW", "HEBREW", "Hebrew", false},
    {"FRENCH R", "FRENCH_R", "French republican", false},
    {"ROMAN", "", "Roman", false},
    {"UNKNOWN", "", "unknown calendar", false},
};

// One date of a value: its keyword (empty for a value without one, or for
// the first date of a value that starts without one) and the text up to the
// next keyword, without the blanks around it. A keyword inside a date phrase
// "(...)" is part of the phrase.
struct DatePart {
    std::string_view keyword;
    std::string_view body;
};

class DateParts {
public:
    explicit DateParts(std::string_view date) noexcept : m_date(date) {}
    // The next part, false after the last.
    bool next(DatePart& part) noexcept;

private:
    std::string_view m_date;
    std::size_t m_pos = 0;
};

// The calendar named at the start of a date's body, and how many bytes name
// it (the blanks after it included); nullptr when the body starts otherwise.
// An escape of a calendar GEDCOM does not name gives `unknownEscape`, whose
// `shown` is the escape's name as written.
struct CalendarMark {
    const Calendar* calendar = nullptr;
    std::size_t length = 0;
};
CalendarMark CalendarAtStart(std::string_view body, Calendar& unknownEscape) noexcept;

} // namespace stirpex::detail
