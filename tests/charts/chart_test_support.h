#pragma once

// The families of the chart tests (tests/data/chart_*.ged), and the checks every chart must pass
// whatever it shows: no two boxes overlap, everything lies inside the extent,
// references lead to a first box of the same person.

#include "charts/chart.h"
#include "charts/chart_measure.h"
#include "gedcom/load_driver.h"
#include "gedcom/test_support.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace stirpex::test {

// Ancestors of I1 over four generations: I3's mother is unknown, and the
// parents of I4 (I8, I9) are the parents of I6 too, so they are reached twice.
inline constexpr std::string_view kPedigreeFamily = "chart_pedigree.ged";

// Descendants of T1, Hugo Lenz: three families (the last without a
// partner), and his son Karl two; Hugo's parents are cousins, so his
// great-grandparents are reached twice.
inline constexpr std::string_view kTwoFamilies = "chart_two_families.ged";

// Descendants of D1: two families (the second without a wife); D8 and D10,
// grandchildren of D1 through D3 and D4, married, so their child D11 is
// reached twice (and his son D12 must be drawn once). L1 is his own grandfather.
// W4 married both sons of W1, W2 and W3.
inline constexpr std::string_view kDescendantFamily = "chart_descendants.ged";

// A family of tests/data.
inline LoadedDoc LoadFamily(std::string_view name) {
    LoadedDoc loaded;
    std::string error;
    loaded.result = LoadGedcomFile(*loaded.doc, std::filesystem::path(STIRPEX_TEST_DATA_DIR) / name, {}, error);
    if (!error.empty()) {
        throw std::runtime_error(error);
    }
    return loaded;
}

// P1 and all ancestors over `generations` generations, every one known: Pn's
// parents are P(2n) and P(2n+1) in family Fn.
inline std::string FullPedigree(int generations) {
    std::string ged = "0 HEAD\n1 CHAR UTF-8\n";
    const int people = (1 << generations) - 1;
    for (int n = 1; n <= people; ++n) {
        const std::string id = std::to_string(n);
        ged += "0 @P" + id + "@ INDI\n1 NAME Given" + id + " /Surname" + id + "/\n1 SEX " + (n % 2 ? "F" : "M") +
               "\n1 BIRT\n2 DATE " + std::to_string(2000 - 25 * n) + "\n";
        if (2 * n <= people) {
            ged += "1 FAMC @F" + id + "@\n0 @F" + id + "@ FAM\n1 HUSB @P" + std::to_string(2 * n) + "@\n1 WIFE @P" +
                   std::to_string(2 * n + 1) + "@\n1 CHIL @P" + id + "@\n";
        }
    }
    return ged + "0 TRLR\n";
}

inline const CPerson& PersonOf(const LoadedDoc& loaded, std::string_view id) {
    const CPerson* person = loaded.doc->FindPerson(id);
    if (person == nullptr) {
        throw std::runtime_error("no person " + std::string(id));
    }
    return *person;
}

// The boxes of a person, in box order.
inline std::vector<std::int32_t> BoxesOf(const ChartLayout& layout, const CPerson& person) {
    std::vector<std::int32_t> found;
    for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
        if (layout.boxes[i].person == person.m_nIndex) {
            found.push_back(static_cast<std::int32_t>(i));
        }
    }
    return found;
}

inline std::vector<std::string> TextsOf(const ChartLayout& layout, std::int32_t box) {
    std::vector<std::string> texts;
    for (const ChartText& text : layout.textsOf(layout.boxes[static_cast<std::size_t>(box)])) {
        texts.push_back(text.text);
    }
    return texts;
}

// Every pair of boxes that overlap, by a sweep over the boxes sorted by their left edge.
inline std::vector<std::pair<std::int32_t, std::int32_t>> Overlaps(const ChartLayout& layout) {
    std::vector<std::int32_t> order(layout.boxes.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::int32_t>(i);
    }
    const auto rect = [&](std::int32_t i) { return layout.boxes[static_cast<std::size_t>(i)].rect; };
    std::sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) { return rect(a).x < rect(b).x; });
    std::vector<std::pair<std::int32_t, std::int32_t>> overlaps;
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = i + 1; j < order.size() && rect(order[j]).x < rect(order[i]).right() - 1e-9; ++j) {
            const ChartRect a = rect(order[i]);
            const ChartRect b = rect(order[j]);
            if (a.y < b.bottom() - 1e-9 && b.y < a.bottom() - 1e-9) {
                overlaps.emplace_back(std::min(order[i], order[j]), std::max(order[i], order[j]));
            }
        }
    }
    return overlaps;
}

// What every rectangular chart must satisfy; failures name the chart.
inline void ExpectSound(const ChartLayout& layout, const std::string& what) {
    EXPECT_TRUE(Overlaps(layout).empty()) << what << ": " << Overlaps(layout).size() << " overlaps";
    for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
        const ChartBox& box = layout.boxes[i];
        EXPECT_TRUE(box.rect.x >= -1e-9 && box.rect.y >= -1e-9 && box.rect.right() <= layout.width + 1e-9 &&
                    box.rect.bottom() <= layout.height + 1e-9)
            << what << ": box " << i << " outside the chart";
        if (box.firstBox >= 0) {
            const ChartBox& first = layout.boxes[static_cast<std::size_t>(box.firstBox)];
            // Only a partner may refer to a box after it: their own, with their descendants, drawn later.
            const bool partner = box.towardCentre >= 0 &&
                                 layout.boxes[static_cast<std::size_t>(box.towardCentre)].generation == box.generation;
            if (!partner) {
                EXPECT_LT(box.firstBox, static_cast<std::int32_t>(i)) << what;
            }
            EXPECT_NE(box.firstBox, static_cast<std::int32_t>(i)) << what;
            EXPECT_EQ(first.person, box.person) << what;
            EXPECT_EQ(first.firstBox, -1) << what;
        }
        EXPECT_LT(box.towardCentre, static_cast<std::int32_t>(i)) << what;
        EXPECT_LE(box.textBegin + box.textCount, layout.texts.size()) << what;
    }
    // Lines run across and down only, and two never run along each other
    // (the lines of two families would then read as one).
    std::vector<std::tuple<bool, double, double, double>> lines; // down?, where, from, to
    for (const ChartSegment& segment : layout.connectors) {
        EXPECT_TRUE(segment.from.x == segment.to.x || segment.from.y == segment.to.y) << what << ": a slanted line";
        const bool down = segment.from.x == segment.to.x;
        const double a = down ? segment.from.y : segment.from.x;
        const double b = down ? segment.to.y : segment.to.x;
        lines.emplace_back(down, down ? segment.from.x : segment.from.y, std::min(a, b), std::max(a, b));
    }
    std::sort(lines.begin(), lines.end());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto& [down, where, from, to] = lines[i];
        const auto& [lastDown, lastWhere, lastFrom, lastTo] = lines[i - 1];
        EXPECT_FALSE(down == lastDown && where == lastWhere && from < lastTo - 1e-9)
            << what << ": two lines along each other at " << where;
    }
}

// Descendants, and the lower half of an hourglass: with partners, each
// family's children centred on the line that drops from the gap between the
// couple's boxes; without, under their parent. Returns the families seen.
inline int ExpectCouplesOverChildren(const CStirpexDoc& doc, const ChartLayout& layout, const std::string& what) {
    std::map<std::int32_t, std::vector<std::int32_t>> toward;
    for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
        toward[layout.boxes[i].towardCentre].push_back(static_cast<std::int32_t>(i));
    }
    std::vector<ChartSegment> downs; // by x
    for (const ChartSegment& segment : layout.connectors) {
        if (segment.from.x == segment.to.x) {
            downs.push_back(segment);
        }
    }
    std::sort(downs.begin(), downs.end(),
              [](const ChartSegment& a, const ChartSegment& b) { return a.from.x < b.from.x; });
    const auto dropsFrom = [&](double x, double y) {
        auto it = std::lower_bound(downs.begin(), downs.end(), x - 1e-6,
                                   [](const ChartSegment& s, double v) { return s.from.x < v; });
        for (; it != downs.end() && it->from.x <= x + 1e-6; ++it) {
            if (std::abs(std::min(it->from.y, it->to.y) - y) < 1e-6) {
                return true;
            }
        }
        return false;
    };
    const auto box = [&](std::int32_t i) -> const ChartBox& { return layout.boxes[static_cast<std::size_t>(i)]; };
    const auto middle = [&](const std::vector<std::int32_t>& boxes) {
        return (box(boxes.front()).rect.centre().x + box(boxes.back()).rect.centre().x) / 2;
    };
    int families = 0;
    for (const auto& [parentBox, hanging] : toward) {
        if (parentBox < 0 || box(parentBox).generation > 0) {
            continue;
        }
        const ChartBox& parent = box(parentBox);
        std::vector<std::int32_t> partners;
        std::vector<std::int32_t> children;
        for (const std::int32_t i : hanging) {
            if (box(i).generation == parent.generation) {
                partners.push_back(i);
            } else if (box(i).generation == parent.generation - 1) {
                children.push_back(i);
            }
        }
        if (children.empty()) {
            continue;
        }
        if (partners.empty()) {
            ++families;
            EXPECT_NEAR(parent.rect.centre().x, middle(children), 1e-6) << what << ": box " << parentBox;
            continue;
        }
        // The children come family by family, each family's in its order, a
        // child of two of the families once in each.
        const CPerson& person = *doc.m_ppPersons[static_cast<std::size_t>(parent.person)];
        std::size_t next = 0;
        for (std::size_t k = 0; k < partners.size(); ++k) {
            const CFamily* family = doc.FindFamily(person.m_arrSpouseFamilies[static_cast<int>(k)].view());
            std::vector<std::int32_t> ofFamily;
            for (int j = 0; family != nullptr && j < family->m_nChildren; ++j) {
                const CPerson* child = doc.GetChild(family, j);
                if (child != nullptr && next < children.size()) {
                    EXPECT_EQ(box(children[next]).person, child->m_nIndex) << what << ": box " << children[next];
                    ofFamily.push_back(children[next++]);
                }
            }
            if (ofFamily.empty()) {
                continue;
            }
            ++families;
            const double x = middle(ofFamily);
            const double left = k == 0 ? parent.rect.right() : box(partners[k - 1]).rect.right();
            EXPECT_TRUE(x > left && x < box(partners[k]).rect.x)
                << what << ": family " << k << " of box " << parentBox << " centred at " << x << ", not between "
                << left << " and " << box(partners[k]).rect.x;
            EXPECT_TRUE(dropsFrom(x, parent.rect.centre().y))
                << what << ": no line from the couple down at " << x << " for family " << k << " of box " << parentBox;
        }
    }
    return families;
}

} // namespace stirpex::test
