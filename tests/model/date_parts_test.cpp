#include "model/date_parts.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

using detail::DatePart;
using detail::DateParts;

std::vector<std::pair<std::string, std::string>> PartsOf(std::string_view date) {
    std::vector<std::pair<std::string, std::string>> parts;
    DateParts reader(date);
    DatePart part;
    while (reader.next(part)) {
        parts.emplace_back(part.keyword, part.body);
    }
    return parts;
}

TEST(DateParts, EachDateOfARangeOrPeriodAfterItsKeyword) {
    using Parts = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(PartsOf("12 MAR 1850"), (Parts{{"", "12 MAR 1850"}}));
    EXPECT_EQ(PartsOf("BET  1800 AND 1810 "), (Parts{{"BET", "1800"}, {"AND", "1810"}}));
    EXPECT_EQ(PartsOf("FROM @#DFRENCH R@ 1 VEND 12 TO 1810"),
              (Parts{{"FROM", "@#DFRENCH R@ 1 VEND 12"}, {"TO", "1810"}}));
    // A keyword in a phrase is text; a keyword alone has an empty date.
    EXPECT_EQ(PartsOf("INT 1700 (FROM his will TO his grave)"), (Parts{{"INT", "1700 (FROM his will TO his grave)"}}));
    EXPECT_EQ(PartsOf("ABT"), (Parts{{"ABT", ""}}));
    EXPECT_EQ(PartsOf(" "), Parts{});
}

// Eight bytes at a time, with a last chunk that overlaps: every size and
// every place of the byte looked for, bytes above 0x7F beside it.
TEST(HasAnyByte, FindsTheByteAtEveryPlaceOfEverySize) {
    for (std::size_t size = 0; size <= 24; ++size) {
        const std::string plain(size, '\xC3');
        EXPECT_FALSE((detail::HasAnyByte<'@', '(', '_'>(plain))) << size;
        for (std::size_t at = 0; at < size; ++at) {
            std::string text = plain;
            text[at] = '_';
            EXPECT_TRUE((detail::HasAnyByte<'@', '(', '_'>(text))) << size << " " << at;
            text[at] = '?'; // one below '@'
            EXPECT_FALSE((detail::HasAnyByte<'@', '(', '_'>(text))) << size << " " << at;
        }
    }
}

// The quick refusal leans on every calendar word having an I, a W or a '_'.
TEST(MayNameCalendar, EveryCalendarWordIsFoundAndMostDatesAreRefused) {
    for (const detail::Calendar& calendar : detail::kCalendars) {
        if (!calendar.word.empty()) {
            EXPECT_TRUE(detail::MayNameCalendar(std::string(calendar.word) + " 1700")) << calendar.word;
            EXPECT_TRUE(detail::MayNameCalendar("BET 1690 AND " + std::string(calendar.word) + " 1700"))
                << calendar.word;
        }
    }
    EXPECT_TRUE(detail::MayNameCalendar("12 @#DJULIAN@ JAN 1700"));
    const std::string_view plain[] = {"12 MAR 1850", "INT 1850", "JULIANA 1850", "BET 1850 AND 1852", "", "NOV"};
    for (const std::string_view date : plain) {
        EXPECT_FALSE(detail::MayNameCalendar(date)) << date;
    }
}

} // namespace
} // namespace stirpex
