#include "model/date_year.h"

#include "model/utf8.h"

namespace stirpex {

namespace {
bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}
} // namespace

int DateYear(std::string_view date) noexcept {
    if (CountCodePoints(date, 4) <= 3) {
        return -1;
    }
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
        if (end - start == 4) {
            int year = 0;
            for (std::size_t i = start; i < end; ++i) {
                year = year * 10 + (date[i] - '0');
            }
            return year;
        }
        end = start;
    }
    return -1;
}

std::string_view DateQualifier(std::string_view date) noexcept {
    if (date.find("ABT") != std::string_view::npos) {
        return "c";
    }
    if (date.find("BEF") != std::string_view::npos) {
        return "<";
    }
    if (date.find("AFT") != std::string_view::npos) {
        return ">";
    }
    return {};
}

} // namespace stirpex
