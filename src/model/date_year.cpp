#include "model/date_year.h"

#include "model/date_parts.h"
#include "model/utf8.h"

#include <string>

namespace stirpex {

namespace {

using detail::Calendar;
using detail::CalendarAtStart;
using detail::DatePart;
using detail::DateParts;

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c) noexcept {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether the text at `pos` is one of the ways GEDCOM marks a year before
// the common era (5.5 "B.C.", 7 "BCE", and the "BC" files write), as a word
// of its own.
bool epochMarkAt(std::string_view text, std::size_t pos) noexcept {
    if (upper(text[pos]) != 'B') {
        return false;
    }
    constexpr std::string_view kMarks[] = {"B.C.E.", "B.C.", "BCE", "BC"};
    for (const std::string_view mark : kMarks) {
        if (text.size() - pos < mark.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < mark.size() && same; ++i) {
            same = upper(text[pos + i]) == mark[i];
        }
        const std::size_t end = pos + mark.size();
        if (same && (end == text.size() || !isLetter(text[end]))) {
            return true;
        }
    }
    return false;
}

// Whether the year that ends at `end` is marked before the common era, past
// the second year of a dual year and blanks.
bool beforeCommonEra(std::string_view text, std::size_t end) noexcept {
    std::size_t pos = end;
    if (pos < text.size() && text[pos] == '/') {
        std::size_t tail = pos + 1;
        while (tail < text.size() && isDigit(text[tail])) {
            ++tail;
        }
        if (tail > pos + 1) {
            pos = tail;
        }
    }
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    return pos < text.size() && epochMarkAt(text, pos);
}

// The year a run of digits [start, end) gives, or kNoYear: three or four
// digits, or up to four marked before the common era; never the second
// year of a dual year, nor five digits or more.
std::int32_t runYear(std::string_view text, std::size_t start, std::size_t end) noexcept {
    const std::size_t digits = end - start;
    const bool dualTail = start >= 2 && text[start - 1] == '/' && isDigit(text[start - 2]);
    if (dualTail || digits > 4) {
        return kNoYear;
    }
    const bool early = beforeCommonEra(text, end);
    if (digits < 3 && !early) {
        return kNoYear;
    }
    std::int32_t value = 0;
    for (std::size_t i = start; i < end; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return early ? -value : value;
}

// The last year in a date's body; with `inPhrases` false, one outside a
// phrase in parentheses ("716 BC (or 725)" was 716 BC).
std::int32_t lastYearIn(std::string_view body, bool inPhrases) noexcept {
    std::int32_t year = kNoYear;
    std::size_t pos = 0;
    int depth = 0;
    while (pos < body.size()) {
        depth += body[pos] == '(' ? 1 : (body[pos] == ')' && depth > 0 ? -1 : 0);
        if (!isDigit(body[pos]) || (depth > 0 && !inPhrases)) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        while (pos < body.size() && isDigit(body[pos])) {
            ++pos;
        }
        if (const std::int32_t found = runYear(body, start, pos); found != kNoYear) {
            year = found;
        }
    }
    return year;
}

// Three characters (code points) or fewer. Four ASCII bytes are four
// characters, which settles nearly every date without counting.
bool tooShortForAYear(std::string_view date) noexcept {
    if (date.size() < 4) {
        return true;
    }
    const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (ascii(date[0]) && ascii(date[1]) && ascii(date[2]) && ascii(date[3])) {
        return false;
    }
    return CountCodePoints(date, 4) <= 3;
}

bool namedInParentheses(std::string_view body, std::string_view word) noexcept {
    for (std::size_t at = body.find('('); at != std::string_view::npos; at = body.find('(', at + 1)) {
        const std::string_view rest = body.substr(at + 1);
        if (rest.starts_with(word) && rest.size() > word.size() && rest[word.size()] == ')') {
            return true;
        }
    }
    return false;
}

// The year of a date without phrases or calendars: the last run that is
// one, looked for from the end, where it nearly always is.
std::int32_t lastYearFromEnd(std::string_view date) noexcept {
    std::size_t end = date.size();
    while (end > 0) {
        if (!isDigit(date[end - 1])) {
            --end;
            continue;
        }
        std::size_t start = end;
        while (start > 0 && isDigit(date[start - 1])) {
            --start;
        }
        if (const std::int32_t year = runYear(date, start, end); year != kNoYear) {
            return year;
        }
        end = start;
    }
    return kNoYear;
}

// A readable date names its calendar after the date, "(Hebrew)"; a value
// as written names it before, and GEDCOM 7 writes an extension calendar as
// a word that starts with '_'. Years come from the others only.
bool givesYears(std::string_view body) noexcept {
    Calendar unknown;
    if (const auto mark = CalendarAtStart(body, unknown); mark.calendar != nullptr) {
        return mark.calendar->givesYears;
    }
    if (body.starts_with('_')) {
        return false;
    }
    for (const Calendar& calendar : detail::kCalendars) {
        if (!calendar.givesYears && namedInParentheses(body, calendar.shown)) {
            return false;
        }
    }
    return true;
}

std::int32_t lastYear(std::string_view date, bool inPhrases) noexcept {
    std::int32_t year = kNoYear;
    DateParts parts(date);
    DatePart part;
    while (parts.next(part)) {
        if (givesYears(part.body)) {
            if (const std::int32_t found = lastYearIn(part.body, inPhrases); found != kNoYear) {
                year = found;
            }
        }
    }
    return year;
}

} // namespace

std::int32_t DateYear(std::string_view date) noexcept {
    // A medieval date is often the year alone: three digits are a year even
    // where three characters are otherwise too few.
    if (date.size() == 3 && isDigit(date[0]) && isDigit(date[1]) && isDigit(date[2])) {
        return runYear(date, 0, 3);
    }
    if (tooShortForAYear(date)) {
        return kNoYear;
    }
    // Nearly every date has no phrase and no calendar but the Gregorian, and
    // then its parts need not be told apart.
    // Only a '(' (a phrase, or a calendar named after a date), an '@' (an
    // escape) or a '_' (an extension's calendar) makes them matter.
    if (!detail::HasAnyByte<'(', '@', '_'>(date)) {
        return lastYearFromEnd(date);
    }
    const bool phrase = date.find('(') != std::string_view::npos;
    // A phrase holds the year only where nothing outside one does: "(1850)".
    const std::int32_t year = lastYear(date, false);
    return year != kNoYear || !phrase ? year : lastYear(date, true);
}

std::string_view DateQualifier(std::string_view date) noexcept {
    // One pass over the date, as for every birth and death of a file.
    bool before = false;
    bool after = false;
    for (std::size_t i = 0; i + 3 <= date.size(); ++i) {
        if (date[i] == 'A' && date[i + 2] == 'T') {
            if (date[i + 1] == 'B') {
                return "c";
            }
            after = after || date[i + 1] == 'F';
        } else if (date[i] == 'B' && date[i + 1] == 'E' && date[i + 2] == 'F') {
            before = true;
        }
    }
    return before ? "<" : (after ? ">" : "");
}

void AppendYear(std::string& out, std::int32_t year) {
    if (year == kNoYear) {
        out += '?';
    } else if (year < 0) {
        out.append(std::to_string(-static_cast<std::int64_t>(year))).append(" BC");
    } else {
        out.append(std::to_string(year));
    }
}

} // namespace stirpex
