#pragma once

// The pieces of a date value as GEDCOM writes it. A value is one date or a
// range or period of two ("BET 1800 AND 1810", "FROM 1700 TO 1710"), each
// date after its keyword; each date may begin with its calendar: an escape
// (@#DJULIAN@, @#DFRENCH R@ ...) or, as GEDCOM 7 writes it, a bare word
// (JULIAN, FRENCH_R ...). A date without one is Gregorian.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace stirpex::detail {

struct Calendar {
    std::string_view escapeName; // between "@#D" and "@"
    std::string_view word;       // GEDCOM 7's bare word; empty where there is none
    std::string_view shown;      // what the page shows after the date
    bool givesYears = false;     // whether its years are the common era's, comparable with the others
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

// Whether `date` may name a calendar: it holds an '@' (an escape may), or a
// word that is one of GEDCOM 7's calendar words.
bool MayNameCalendar(std::string_view date) noexcept;

// Whether any byte of `text` is one of `Bytes` (none zero). Every date of a
// file passes through this, so it looks at eight bytes at a time: a byte of
// a word is zero where the word equals the byte repeated.
template <char... Bytes> bool HasAnyByte(std::string_view text) noexcept {
    static_assert(((Bytes != 0) && ...));
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Fu;
    // The high bit of each zero byte of y, and no other bit.
    const auto zeroBytes = [](std::uint64_t y) { return ~(((y & kLows) + kLows) | y | kLows); };
    const auto matches = [&](std::uint64_t chunk) {
        return (zeroBytes(chunk ^ (kOnes * static_cast<unsigned char>(Bytes))) | ...) != 0;
    };
    const auto load = [&text](std::size_t pos, auto word) {
        std::memcpy(&word, text.data() + pos, sizeof word);
        return static_cast<std::uint64_t>(word);
    };
    const std::size_t size = text.size();
    if (size >= 8) {
        std::size_t pos = 0;
        for (; pos + 8 <= size; pos += 8) {
            if (matches(load(pos, std::uint64_t{}))) {
                return true;
            }
        }
        // The last bytes in a chunk that overlaps the one before.
        return pos < size && matches(load(size - 8, std::uint64_t{}));
    }
    if (size >= 4) {
        // Two four-byte halves, overlapping where the text is shorter than eight.
        return matches(load(0, std::uint32_t{}) | load(size - 4, std::uint32_t{}) << 32);
    }
    for (const char c : text) {
        if (((c == Bytes) || ...)) {
            return true;
        }
    }
    return false;
}

} // namespace stirpex::detail
