#include "charts/box_text.h"

#include "charts/chart_measure.h"
#include "model/date_year.h"
#include "model/person.h"
#include "model/shown_text.h"

#include <algorithm>

namespace stirpex {

namespace {

bool isContinuation(char c) noexcept {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string ChartName(const CPerson& person) {
    const std::string_view surname = ShownPrefix(person.m_strSurname.view());
    const std::string_view given = ShownPrefix(person.m_strGivenNames.view());
    std::string name(surname);
    if (!surname.empty() && !given.empty()) {
        name += ", ";
    }
    name += given;
    return name;
}

std::string ChartYears(const CPerson& person) {
    if (person.m_nBirthYear == kNoYear && person.m_nDeathYear == kNoYear) {
        return {};
    }
    std::string years(person.Details().m_strBirthQualifier.view());
    AppendYear(years, person.m_nBirthYear);
    years += '-';
    years += person.Details().m_strDeathQualifier.view();
    AppendYear(years, person.m_nDeathYear);
    return years;
}

ChartSex ChartSexOf(const CPerson* person) noexcept {
    if (person == nullptr) {
        return ChartSex::Unknown;
    }
    return person->m_cSex == 'M' ? ChartSex::Male : person->m_cSex == 'F' ? ChartSex::Female : ChartSex::Unknown;
}

std::string_view EmptyBoxText(ChartBoxKind kind) noexcept {
    switch (kind) {
    case ChartBoxKind::UnknownFather:
        return "Unknown father";
    case ChartBoxKind::UnknownMother:
        return "Unknown mother";
    case ChartBoxKind::UnknownPartner:
        return "Unknown partner";
    case ChartBoxKind::Person:
        break;
    }
    return {};
}

std::string SpokenBoxText(const ChartLayout& layout, std::size_t box) {
    const ChartBox& shown = layout.boxes[box];
    const std::span<const ChartText> texts = layout.textsOf(shown);
    const bool named =
        std::any_of(texts.begin(), texts.end(), [](const ChartText& t) { return t.font == ChartFont::Name; });
    std::string spoken = shown.kind == ChartBoxKind::Person && !named ? "No name" : "";
    for (const ChartText& text : texts) {
        if (!spoken.empty()) {
            spoken += ", ";
        }
        spoken += text.text;
    }
    return spoken;
}

std::string Elided(const ChartMeasure& measure, ChartFont font, std::string_view text, double width) {
    if (measure.textWidth(font, text) <= width) {
        return std::string(text);
    }
    // The longest prefix that fits with the ellipsis; widths grow with the
    // prefix, so a binary search over the code point starts finds it.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isContinuation(text[i])) {
            starts.push_back(i);
        }
    }
    std::size_t low = 0; // code points known to fit
    std::size_t high = starts.size();
    std::string candidate;
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        candidate.assign(text.substr(0, mid < starts.size() ? starts[mid] : text.size()));
        candidate += kEllipsis;
        if (measure.textWidth(font, candidate) <= width) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    std::string elided(text.substr(0, low < starts.size() ? starts[low] : text.size()));
    elided += kEllipsis;
    return elided;
}

namespace detail {

ChartBox ChartBoxFor(const TreeBox& from) {
    ChartBox box;
    box.kind = from.kind;
    box.sex = ChartSexOf(from.person);
    box.person = from.person != nullptr ? from.person->m_nIndex : -1;
    box.generation = from.generation;
    box.firstBox = from.firstBox;
    box.towardCentre = from.towardCentre;
    return box;
}

BoxStyle MakeBoxStyle(const ChartMeasure& measure, const ChartOptions& options, bool numbers, bool marks) {
    BoxStyle style;
    style.numbers = numbers;
    style.marks = marks;
    style.padding = options.boxPadding;
    style.minWidth = options.minBoxWidth;
    style.maxWidth = options.maxBoxWidth;
    const double detail = measure.lineHeight(ChartFont::Detail);
    style.height = 2 * options.boxPadding + measure.lineHeight(ChartFont::Name) + detail;
    if (numbers) {
        style.height += detail;
    }
    if (marks) {
        style.height += measure.lineHeight(ChartFont::Note);
    }
    return style;
}

std::vector<BoxLine> BoxLines(const ChartTree& tree, std::size_t index, const ChartMeasure& measure,
                              double maxTextWidth) {
    const TreeBox& box = tree.boxes[index];
    std::vector<BoxLine> lines;
    const auto add = [&](std::string_view text, ChartFont font) {
        if (text.empty()) {
            return;
        }
        BoxLine line;
        line.font = font;
        line.width = measure.textWidth(font, text);
        if (line.width <= maxTextWidth) {
            line.text = text;
        } else {
            line.text = Elided(measure, font, text, maxTextWidth);
            line.width = measure.textWidth(font, line.text);
        }
        lines.push_back(std::move(line));
    };
    add(box.number, ChartFont::Detail);
    if (box.person == nullptr) {
        add(EmptyBoxText(box.kind), ChartFont::Note);
        return lines;
    }
    add(ChartName(*box.person), ChartFont::Name);
    add(ChartYears(*box.person), ChartFont::Detail);
    const TreeBox* first = nullptr;
    if (box.firstBox >= 0) {
        first = &tree.boxes[static_cast<std::size_t>(box.firstBox)];
    } else if (box.earlierBox >= 0 && tree.earlier != nullptr) {
        first = &tree.earlier->boxes[static_cast<std::size_t>(box.earlierBox)];
    }
    if (first != nullptr) {
        add(first->number.empty() ? std::string("Repeated") : "Repeated, see " + first->number, ChartFont::Note);
    }
    return lines;
}

} // namespace detail
} // namespace stirpex
