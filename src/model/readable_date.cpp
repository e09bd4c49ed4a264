#include "model/readable_date.h"

#include "model/date_parts.h"

namespace stirpex {

namespace {

using detail::Calendar;
using detail::CalendarAtStart;
using detail::DatePart;
using detail::DateParts;

constexpr std::string_view kEscapeStart = "@#D";

// The body without the escapes in it, and the calendar of the first.
void takeEscapesOut(std::string_view body, const Calendar*& calendar, Calendar& unknown, std::string& out) {
    std::size_t pos = 0;
    Calendar later; // an unknown escape after the one that counts must not overwrite it
    for (std::size_t at = body.find(kEscapeStart); at != std::string_view::npos; at = body.find(kEscapeStart, pos)) {
        const auto mark = CalendarAtStart(body.substr(at), calendar == nullptr ? unknown : later);
        if (mark.calendar == nullptr) {
            break; // an escape never closed is text
        }
        out.append(body.substr(pos, at - pos));
        if (calendar == nullptr) {
            calendar = mark.calendar;
        }
        pos = at + mark.length;
    }
    out.append(body.substr(pos));
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
}

// The word goes right after the date, before a date phrase that follows it.
void appendWithCalendar(std::string& out, std::string_view date, const Calendar& calendar) {
    const std::size_t phrase = date.find(" (");
    const std::string_view before = date.substr(0, phrase);
    out.append(before);
    if (!before.empty()) {
        out += ' ';
    }
    out.append("(").append(calendar.shown).append(")");
    if (phrase != std::string_view::npos) {
        out.append(date.substr(phrase));
    }
}

} // namespace

std::string_view ReadableDate(std::string_view date, std::string& buffer) {
    if (!detail::MayNameCalendar(date)) {
        return date;
    }
    buffer.clear();
    std::string body;
    Calendar unknown;
    DateParts parts(date);
    DatePart part;
    while (parts.next(part)) {
        if (!buffer.empty()) {
            buffer += ' ';
        }
        buffer.append(part.keyword);
        const auto start = CalendarAtStart(part.body, unknown);
        const Calendar* calendar = start.calendar;
        body.clear();
        takeEscapesOut(part.body.substr(start.length), calendar, unknown, body);
        if (!part.keyword.empty() && (!body.empty() || calendar != nullptr)) {
            buffer += ' ';
        }
        if (calendar != nullptr) {
            appendWithCalendar(buffer, body, *calendar);
        } else {
            buffer.append(body);
        }
    }
    return buffer;
}

} // namespace stirpex
