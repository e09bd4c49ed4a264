#include "page/line_breaks.h"

#include "model/utf8.h"

#include <algorithm>
#include <cstddef>

namespace stirpex {

namespace {

// The ends of the lines `text` may be broken into at blanks: after each run of blanks that follows a word.
std::vector<std::size_t> blankBreaks(std::string_view text) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i - 1] == ' ' && text[i] != ' ') {
            ends.push_back(i);
        }
    }
    return ends;
}

// The longest of `ends` (ascending) whose line fits, or 0 when none does.
// Blanks at the end of a line take no room on paper.
std::size_t longestFitting(PageSurface& surface, std::string_view text, const std::vector<std::size_t>& ends,
                           int width) {
    const auto fits = std::partition_point(ends.begin(), ends.end(), [&](std::size_t end) {
        std::string_view line = text.substr(0, end);
        while (!line.empty() && line.back() == ' ') {
            line.remove_suffix(1);
        }
        return surface.TextWidth(line) <= width;
    });
    return fits == ends.begin() ? 0 : *(fits - 1);
}

std::vector<std::size_t> codePointEnds(std::string_view text) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < text.size();) {
        i += CodePointLength(static_cast<unsigned char>(text[i]));
        ends.push_back(std::min(i, text.size()));
    }
    return ends;
}

} // namespace

std::vector<std::string_view> BreakLines(PageSurface& surface, std::string_view text, int width) {
    std::vector<std::string_view> lines;
    std::string_view rest = text;
    while (width > 0 && !rest.empty() && surface.TextWidth(rest) > width) {
        std::size_t end = longestFitting(surface, rest, blankBreaks(rest), width);
        if (end == 0) {
            const std::vector<std::size_t> ends = codePointEnds(rest);
            end = std::max(longestFitting(surface, rest, ends, width), ends.front());
        }
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end);
    }
    if (!rest.empty() || lines.empty()) {
        lines.push_back(rest);
    }
    return lines;
}

} // namespace stirpex
