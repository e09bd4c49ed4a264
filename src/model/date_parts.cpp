#include "model/date_parts.h"

namespace stirpex::detail {

namespace {

constexpr std::string_view kKeywords[] = {"FROM", "TO", "BET", "AND", "BEF", "AFT", "ABT", "CAL", "EST", "INT"};
constexpr std::string_view kEscapeStart = "@#D";

bool isKeyword(std::string_view word) noexcept {
    for (const std::string_view keyword : kKeywords) {
        if (word == keyword) {
            return true;
        }
    }
    return false;
}

std::size_t skipBlanks(std::string_view text, std::size_t pos) noexcept {
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    return pos;
}

std::size_t wordEnd(std::string_view text, std::size_t pos) noexcept {
    const std::size_t end = text.find(' ', pos);
    return end == std::string_view::npos ? text.size() : end;
}

std::string_view trimmed(std::string_view text) noexcept {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

bool DateParts::next(DatePart& part) noexcept {
    std::size_t pos = skipBlanks(m_date, m_pos);
    if (pos >= m_date.size()) {
        m_pos = m_date.size();
        return false;
    }
    part.keyword = {};
    std::size_t end = wordEnd(m_date, pos);
    if (isKeyword(m_date.substr(pos, end - pos))) {
        part.keyword = m_date.substr(pos, end - pos);
        pos = skipBlanks(m_date, end);
    }
    const std::size_t bodyStart = pos;
    int depth = 0;
    while (pos < m_date.size()) {
        end = wordEnd(m_date, pos);
        const std::string_view word = m_date.substr(pos, end - pos);
        if (depth == 0 && isKeyword(word)) {
            break;
        }
        for (const char c : word) {
            depth += c == '(' ? 1 : (c == ')' && depth > 0 ? -1 : 0);
        }
        pos = skipBlanks(m_date, end);
    }
    part.body = trimmed(m_date.substr(bodyStart, pos - bodyStart));
    m_pos = pos;
    return true;
}

CalendarMark CalendarAtStart(std::string_view body, Calendar& unknownEscape) noexcept {
    if (body.starts_with(kEscapeStart)) {
        const std::size_t close = body.find('@', kEscapeStart.size());
        if (close == std::string_view::npos) {
            return {};
        }
        const std::string_view name = body.substr(kEscapeStart.size(), close - kEscapeStart.size());
        const std::size_t length = skipBlanks(body, close + 1);
        for (const Calendar& calendar : kCalendars) {
            if (name == calendar.escapeName) {
                return {&calendar, length};
            }
        }
        unknownEscape = {name, {}, name, false};
        return {&unknownEscape, length};
    }
    const std::size_t end = wordEnd(body, 0);
    const std::string_view word = body.substr(0, end);
    for (const Calendar& calendar : kCalendars) {
        if (!calendar.word.empty() && word == calendar.word) {
            return {&calendar, skipBlanks(body, end)};
        }
    }
    return {};
}

bool MayNameCalendar(std::string_view date) noexcept {
    // Most dates are settled at once. One that opens with a number (a day
    // or a year) has no calendar word, which only opens a date and then one
    // after a keyword that opens the value; only an escape's '@' is left.
    if (!date.empty() && date[0] >= '0' && date[0] <= '9') {
        return date.find('@') != std::string_view::npos;
    }
    // Every calendar word has an I, a W or a '_' (JULIAN, HEBREW, FRENCH_R,
    // GREGORIAN), which no month and no keyword but INT has.
    if (!HasAnyByte<'@', 'I', 'W', '_'>(date)) {
        return false;
    }
    // Then one look at each byte: a calendar word has six letters or more,
    // while a date is mostly numbers, months and keywords of three or four,
    // so only long words are compared.
    constexpr std::ptrdiff_t kShortestWord = 6;
    const auto calendarWord = [](const char* first, const char* last) {
        const std::string_view word(first, static_cast<std::size_t>(last - first));
        for (const Calendar& calendar : kCalendars) {
            if (word == calendar.word) {
                return true;
            }
        }
        return false;
    };
    const char* const end = date.data() + date.size();
    const char* word = date.data();
    for (const char* p = word; p != end; ++p) {
        if (*p == ' ') {
            if (p - word >= kShortestWord && calendarWord(word, p)) {
                return true;
            }
            word = p + 1;
        } else if (*p == '@') {
            return true;
        }
    }
    return end - word >= kShortestWord && calendarWord(word, end);
}

} // namespace stirpex::detail
