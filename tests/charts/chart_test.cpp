#include "charts/chart.h"

#include "chart_test_support.h"
#include "charts/chart_measure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stirpex {
namespace {

using test::BoxesOf;
using test::ExpectSound;
using test::PersonOf;
using test::TextsOf;
using Texts = std::vector<std::string>;

const FixedMeasure kMeasure;

ChartLayout chartOf(const test::LoadedDoc& loaded, std::string_view id, ChartKind kind, ChartOptions options = {}) {
    return LayoutChart(*loaded.doc, PersonOf(loaded, id), kind, options, kMeasure);
}

std::vector<std::int32_t> boxesToward(const ChartLayout& layout, std::int32_t box) {
    std::vector<std::int32_t> found;
    for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
        if (layout.boxes[i].towardCentre == box) {
            found.push_back(static_cast<std::int32_t>(i));
        }
    }
    return found;
}

double centreX(const ChartLayout& layout, std::int32_t box) {
    return layout.boxes[static_cast<std::size_t>(box)].rect.centre().x;
}
double centreY(const ChartLayout& layout, std::int32_t box) {
    return layout.boxes[static_cast<std::size_t>(box)].rect.centre().y;
}

// ---- Pedigree ----

TEST(PedigreeChart, BoxesCarryNumbersUnknownParentsAndRepeats) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    ChartOptions options;
    options.generations = 4;
    options.ahnentafelNumbers = true;
    const ChartLayout chart = chartOf(loaded, "I1", ChartKind::Pedigree, options);
    ExpectSound(chart, "pedigree");
    EXPECT_EQ(TextsOf(chart, 0), (Texts{"1", "Brandt, Carl", "1900-?"}));
    EXPECT_EQ(chart.ancestorGenerations, 3);

    const auto karl = BoxesOf(chart, PersonOf(loaded, "I8"));
    ASSERT_EQ(karl.size(), 2U);
    EXPECT_EQ(TextsOf(chart, karl[0]), (Texts{"8", "Brandt, Karl", "?-c1850"}));
    EXPECT_EQ(TextsOf(chart, karl[1]), (Texts{"12", "Brandt, Karl", "?-c1850", "Repeated, see 8"}));
    EXPECT_EQ(chart.boxes[static_cast<std::size_t>(karl[1])].firstBox, karl[0]);

    std::vector<Texts> empty;
    for (std::size_t i = 0; i < chart.boxes.size(); ++i) {
        if (chart.boxes[i].person < 0) {
            empty.push_back(TextsOf(chart, static_cast<std::int32_t>(i)));
        }
    }
    // I3's mother, then both parents of Anna Kern, who has none on file.
    EXPECT_EQ(empty, (std::vector<Texts>{{"7", "Unknown mother"}, {"10", "Unknown father"}, {"11", "Unknown mother"}}));
}

TEST(PedigreeChart, RepeatedPersonsAncestorsAreNotDrawnAgain) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    ChartOptions options;
    options.generations = 5;
    const ChartLayout chart = chartOf(loaded, "I1", ChartKind::Pedigree, options);
    const auto karl = BoxesOf(chart, PersonOf(loaded, "I8"));
    ASSERT_EQ(karl.size(), 2U);
    EXPECT_EQ(boxesToward(chart, karl[0]).size(), 2U); // his unknown parents
    EXPECT_TRUE(boxesToward(chart, karl[1]).empty());
    EXPECT_EQ(TextsOf(chart, karl[1]).back(), "Repeated");
}

TEST(PedigreeChart, EachPersonStandsBetweenTheParentsInEveryOrientation) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    for (const ChartOrientation orientation :
         {ChartOrientation::LeftToRight, ChartOrientation::TopDown, ChartOrientation::BottomUp}) {
        ChartOptions options;
        options.orientation = orientation;
        options.generations = 6;
        const ChartLayout chart = chartOf(loaded, "I1", ChartKind::Pedigree, options);
        const std::string what = "orientation " + std::to_string(static_cast<int>(orientation));
        ExpectSound(chart, what);
        int couples = 0;
        for (std::size_t i = 0; i < chart.boxes.size(); ++i) {
            const auto child = static_cast<std::int32_t>(i);
            const auto parents = boxesToward(chart, child);
            if (parents.size() != 2) {
                continue;
            }
            ++couples;
            const ChartRect& c = chart.boxes[i].rect;
            for (const std::int32_t p : parents) {
                const ChartRect& r = chart.boxes[static_cast<std::size_t>(p)].rect;
                if (orientation == ChartOrientation::LeftToRight) {
                    EXPECT_GT(r.x, c.right()) << what;
                } else if (orientation == ChartOrientation::TopDown) {
                    EXPECT_GT(r.y, c.bottom()) << what;
                } else {
                    EXPECT_LT(r.bottom(), c.y) << what;
                }
            }
            if (orientation == ChartOrientation::LeftToRight) {
                EXPECT_NEAR(centreY(chart, child), (centreY(chart, parents[0]) + centreY(chart, parents[1])) / 2, 1e-9);
                EXPECT_LT(centreY(chart, parents[0]), centreY(chart, parents[1])) << "the father first";
            } else {
                EXPECT_NEAR(centreX(chart, child), (centreX(chart, parents[0]) + centreX(chart, parents[1])) / 2, 1e-9);
                EXPECT_LT(centreX(chart, parents[0]), centreX(chart, parents[1])) << "the father first";
            }
        }
        EXPECT_EQ(couples, 8) << what;
    }
}

TEST(PedigreeChart, ColumnsOfOneGenerationShareTheirWidth) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    const ChartLayout chart = chartOf(loaded, "I1", ChartKind::Pedigree);
    for (const ChartBox& a : chart.boxes) {
        for (const ChartBox& b : chart.boxes) {
            if (a.generation == b.generation) {
                EXPECT_EQ(a.rect.x, b.rect.x);
                EXPECT_EQ(a.rect.width, b.rect.width);
            }
        }
    }
}

TEST(PedigreeChart, AnAncestorLoopEnds) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    ChartOptions options;
    options.generations = 1000;
    const ChartLayout chart = chartOf(loaded, "L1", ChartKind::Pedigree, options);
    // L1, his father L2 and unknown mother, L2's father L1 again and unknown mother.
    ASSERT_EQ(chart.boxes.size(), 5U);
    const auto self = BoxesOf(chart, PersonOf(loaded, "L1"));
    ASSERT_EQ(self.size(), 2U);
    EXPECT_EQ(chart.boxes[static_cast<std::size_t>(self[1])].firstBox, 0);
    EXPECT_FALSE(chart.cut);
}

TEST(PedigreeChart, GenerationsAndBoxesAreLimited) {
    const auto loaded = test::LoadFamily(test::kPedigreeFamily);
    ChartOptions options;
    options.generations = 1;
    EXPECT_EQ(chartOf(loaded, "I1", ChartKind::Pedigree, options).boxes.size(), 1U);

    options.generations = 0; // the default
    EXPECT_EQ(chartOf(loaded, "I1", ChartKind::Pedigree, options).ancestorGenerations,
              DefaultGenerations(ChartKind::Pedigree) - 1);

    // The limit keeps the nearest generations whole: the person and the parents.
    options.maxBoxes = 3;
    const ChartLayout cut = chartOf(loaded, "I1", ChartKind::Pedigree, options);
    EXPECT_TRUE(cut.cut);
    ASSERT_EQ(cut.boxes.size(), 3U);
    EXPECT_EQ(cut.boxes[1].generation, 1);
    EXPECT_EQ(cut.boxes[2].generation, 1);
    ExpectSound(cut, "cut pedigree");

    EXPECT_EQ(Normalized(ChartKind::Pedigree, {.generations = 1 << 30}).generations, kMaxChartGenerations);
    EXPECT_EQ(Normalized(ChartKind::Descendants, {.maxBoxes = 1 << 30}).maxBoxes, kMaxChartBoxes);
}

// ---- Descendants ----

TEST(DescendantsChart, PartnersStandBesideThePersonAndChildrenUnderTheirFamily) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    const ChartLayout chart = chartOf(loaded, "D1", ChartKind::Descendants);
    ExpectSound(chart, "descendants");
    EXPECT_EQ(TextsOf(chart, 1), (Texts{"Stein, Eva"}));
    EXPECT_EQ(TextsOf(chart, 2), (Texts{"Unknown partner"}));
    EXPECT_EQ(chart.boxes[2].kind, ChartBoxKind::UnknownPartner);
    const ChartRect& adam = chart.boxes[0].rect;
    const ChartRect& eva = chart.boxes[1].rect;
    const ChartRect& unknown = chart.boxes[2].rect;
    EXPECT_EQ(eva.y, adam.y);
    EXPECT_GT(eva.x, adam.right());
    EXPECT_GT(unknown.x, eva.right());

    const auto childrenOf = [&](std::initializer_list<std::string_view> ids) {
        std::vector<std::int32_t> boxes;
        for (const std::string_view id : ids) {
            boxes.push_back(BoxesOf(chart, PersonOf(loaded, id)).front());
        }
        return boxes;
    };
    // One family: its children centred under the gap between the couple.
    const auto frieda = BoxesOf(chart, PersonOf(loaded, "D7")).front();
    const auto bernd = BoxesOf(chart, PersonOf(loaded, "D3")).front();
    const auto grandchildren = childrenOf({"D8", "D9"});
    EXPECT_NEAR((centreX(chart, grandchildren.front()) + centreX(chart, grandchildren.back())) / 2,
                (chart.boxes[static_cast<std::size_t>(bernd)].rect.right() +
                 chart.boxes[static_cast<std::size_t>(frieda)].rect.x) /
                    2,
                1e-9);
    // Two families: the children family by family, each under the gap its line drops from.
    const auto eve = childrenOf({"D3", "D4", "D5"});
    const auto other = childrenOf({"D6"});
    EXPECT_LT(centreX(chart, eve.back()), centreX(chart, other.front()));
    EXPECT_NEAR((centreX(chart, eve.front()) + centreX(chart, eve.back())) / 2, adam.right() + 5, 1e-9);
    EXPECT_NEAR(centreX(chart, other.front()), unknown.x - 5, 1e-9);
    // Adam's two families, Bernd's, Clara's, and the one of Georg and Ida.
    EXPECT_EQ(test::ExpectCouplesOverChildren(*loaded.doc, chart, "descendants"), 6);
    for (const std::int32_t child : eve) {
        EXPECT_EQ(chart.boxes[static_cast<std::size_t>(child)].generation, -1);
        EXPECT_EQ(chart.boxes[static_cast<std::size_t>(child)].towardCentre, 0);
    }
}

TEST(DescendantsChart, EachFamilyHangsUnderItsOwnCoupleAtEveryGeneration) {
    const auto loaded = test::LoadFamily(test::kTwoFamilies);
    for (const bool spouses : {true, false}) {
        ChartOptions options;
        options.includeSpouses = spouses;
        const ChartLayout chart = chartOf(loaded, "T1", ChartKind::Descendants, options);
        const std::string what = spouses ? "with partners" : "without";
        ExpectSound(chart, what);
        // Hugo's three families and Karl's two; one each without partners.
        EXPECT_EQ(test::ExpectCouplesOverChildren(*loaded.doc, chart, what), spouses ? 5 : 2);
    }
    const ChartLayout chart = chartOf(loaded, "T1", ChartKind::Descendants);
    EXPECT_EQ(TextsOf(chart, 3), (Texts{"Unknown partner"}));
    // Partners in the order of the families, each family's children after the last one's.
    const auto x = [&](std::string_view id) { return centreX(chart, BoxesOf(chart, PersonOf(loaded, id)).front()); };
    EXPECT_LT(x("T10"), x("T16"));
    EXPECT_LT(x("T16"), centreX(chart, 3));
    EXPECT_LT(x("T12"), x("T17"));
    EXPECT_LT(x("T19"), x("T22"));
    EXPECT_LT(x("T15"), x("T21"));
}

TEST(DescendantsChart, ChildOfTwoDescendantsIsDrawnOnceWithItsLine) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    ChartOptions options;
    options.generations = 6;
    for (const bool spouses : {true, false}) {
        options.includeSpouses = spouses;
        const ChartLayout chart = chartOf(loaded, "D1", ChartKind::Descendants, options);
        ExpectSound(chart, spouses ? "with partners" : "without");
        const auto jan = BoxesOf(chart, PersonOf(loaded, "D11"));
        ASSERT_EQ(jan.size(), 2U);
        const ChartBox& repeat = chart.boxes[static_cast<std::size_t>(jan[1])];
        EXPECT_EQ(repeat.firstBox, jan[0]);
        EXPECT_EQ(TextsOf(chart, jan[1]).back(), "Repeated");
        EXPECT_EQ(BoxesOf(chart, PersonOf(loaded, "D12")).size(), 1U);
        EXPECT_TRUE(boxesToward(chart, jan[1]).empty());
        // Georg's line comes first, so the first box is his son's.
        const auto georg = BoxesOf(chart, PersonOf(loaded, "D8"));
        EXPECT_EQ(chart.boxes[static_cast<std::size_t>(jan[0])].towardCentre, georg.front());
    }
}

TEST(DescendantsChart, WithoutPartnersEachParentIsCentredOverAllChildren) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    ChartOptions options;
    options.includeSpouses = false;
    options.generations = 6;
    const ChartLayout chart = chartOf(loaded, "D1", ChartKind::Descendants, options);
    EXPECT_TRUE(BoxesOf(chart, PersonOf(loaded, "D2")).empty());
    EXPECT_EQ(chart.descendantGenerations, 4);
    int parents = 0;
    for (std::size_t i = 0; i < chart.boxes.size(); ++i) {
        const auto children = boxesToward(chart, static_cast<std::int32_t>(i));
        if (!children.empty()) {
            ++parents;
            EXPECT_NEAR(centreX(chart, static_cast<std::int32_t>(i)),
                        (centreX(chart, children.front()) + centreX(chart, children.back())) / 2, 1e-9);
        }
    }
    EXPECT_EQ(parents, 6); // D1, D3, D4, D8, D10 and D11
}

TEST(DescendantsChart, ADescentLoopEnds) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    ChartOptions options;
    options.generations = kMaxChartGenerations;
    const ChartLayout chart = chartOf(loaded, "L1", ChartKind::Descendants, options);
    ExpectSound(chart, "loop");
    // L1 and his family's missing wife, L2 and his, L1 again.
    EXPECT_EQ(chart.boxes.size(), 5U);
    EXPECT_EQ(BoxesOf(chart, PersonOf(loaded, "L1")).size(), 2U);
}

// ---- Hourglass ----

TEST(HourglassChart, AncestorsAboveDescendantsBelowOneSharedBox) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    ChartOptions options;
    options.ahnentafelNumbers = true;
    options.unknownParents = false;
    const ChartLayout chart = chartOf(loaded, "D3", ChartKind::Hourglass, options);
    ExpectSound(chart, "hourglass");
    const ChartRect& centre = chart.boxes[0].rect;
    EXPECT_EQ(BoxesOf(chart, PersonOf(loaded, "D3")).size(), 1U);
    EXPECT_EQ(TextsOf(chart, 0).front(), "1");
    EXPECT_EQ(chart.ancestorGenerations, 1);
    EXPECT_EQ(chart.descendantGenerations, 2);
    for (const std::string_view id : {"D1", "D2"}) {
        const auto box = BoxesOf(chart, PersonOf(loaded, id));
        ASSERT_EQ(box.size(), 1U) << id;
        EXPECT_LT(chart.boxes[static_cast<std::size_t>(box[0])].rect.bottom(), centre.y) << id;
        EXPECT_EQ(chart.boxes[static_cast<std::size_t>(box[0])].towardCentre, 0) << id;
    }
    EXPECT_NEAR(centre.centre().x,
                (centreX(chart, BoxesOf(chart, PersonOf(loaded, "D1"))[0]) +
                 centreX(chart, BoxesOf(chart, PersonOf(loaded, "D2"))[0])) /
                    2,
                1e-9);
    for (const std::string_view id : {"D8", "D9", "D11"}) {
        const auto box = BoxesOf(chart, PersonOf(loaded, id));
        ASSERT_FALSE(box.empty()) << id;
        EXPECT_GT(chart.boxes[static_cast<std::size_t>(box[0])].rect.y, centre.bottom()) << id;
    }
    const auto georg = BoxesOf(chart, PersonOf(loaded, "D8"));
    EXPECT_EQ(chart.boxes[static_cast<std::size_t>(georg[0])].towardCentre, 0);
    const auto frieda = BoxesOf(chart, PersonOf(loaded, "D7")); // the partner, on the person's row
    ASSERT_EQ(frieda.size(), 1U);
    EXPECT_EQ(chart.boxes[static_cast<std::size_t>(frieda[0])].rect.y, centre.y);
}

TEST(HourglassChart, ThePersonStandsBetweenTheParentsAndEachFamilyUnderItsCouple) {
    const auto loaded = test::LoadFamily(test::kTwoFamilies);
    for (const bool spouses : {true, false}) {
        ChartOptions options;
        options.includeSpouses = spouses;
        options.generations = 4;
        const ChartLayout chart = chartOf(loaded, "T1", ChartKind::Hourglass, options);
        const std::string what = spouses ? "with partners" : "without";
        ExpectSound(chart, what);
        EXPECT_EQ(test::ExpectCouplesOverChildren(*loaded.doc, chart, what), spouses ? 5 : 2);
        EXPECT_NEAR(centreX(chart, 0), (centreX(chart, 1) + centreX(chart, 2)) / 2, 1e-9) << what;
        EXPECT_EQ(TextsOf(chart, 1), (Texts{"Lenz, Otto", "1870-1940"})) << what;
    }
}

TEST(HourglassChart, APersonReachedTwiceAmongTheAncestorsIsMarked) {
    const auto loaded = test::LoadFamily(test::kTwoFamilies);
    ChartOptions options;
    options.generations = 5;
    options.ahnentafelNumbers = true;
    const ChartLayout chart = chartOf(loaded, "T1", ChartKind::Hourglass, options);
    ExpectSound(chart, "hourglass");
    // Jakob is the father of Paul (4) and of Lina (7): 8 and 14.
    const auto jakob = BoxesOf(chart, PersonOf(loaded, "T8"));
    ASSERT_EQ(jakob.size(), 2U);
    EXPECT_EQ(TextsOf(chart, jakob[0]), (Texts{"8", "Lenz, Jakob", "1810-1880"}));
    EXPECT_EQ(TextsOf(chart, jakob[1]), (Texts{"14", "Lenz, Jakob", "1810-1880", "Repeated, see 8"}));
    EXPECT_EQ(chart.boxes[static_cast<std::size_t>(jakob[1])].firstBox, jakob[0]);
    EXPECT_TRUE(boxesToward(chart, jakob[1]).empty());
}

TEST(HourglassChart, APersonReachedTwiceAmongTheDescendantsIsMarked) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    ChartOptions options;
    options.descendantGenerations = 6;
    options.ahnentafelNumbers = true;
    const ChartLayout chart = chartOf(loaded, "D1", ChartKind::Hourglass, options);
    ExpectSound(chart, "hourglass");
    const auto jan = BoxesOf(chart, PersonOf(loaded, "D11"));
    ASSERT_EQ(jan.size(), 2U);
    EXPECT_EQ(chart.boxes[static_cast<std::size_t>(jan[1])].firstBox, jan[0]);
    EXPECT_EQ(TextsOf(chart, jan[1]).back(), "Repeated");
    EXPECT_EQ(BoxesOf(chart, PersonOf(loaded, "D12")).size(), 1U);
}

// A partner drawn twice is marked as a repeat like anyone else: a cousin's
// box as a partner refers to the box with their descendants, before or after
// it, and a widow married to two brothers is drawn in full once.
TEST(DescendantsChart, PartnersDrawnTwiceAreMarkedAsRepeats) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    ChartOptions options;
    options.generations = 6;
    const ChartLayout cousins = chartOf(loaded, "D1", ChartKind::Descendants, options);
    ExpectSound(cousins, "cousins");
    for (const char* id : {"D8", "D10"}) {
        const auto boxes = BoxesOf(cousins, PersonOf(loaded, id));
        ASSERT_EQ(boxes.size(), 2U) << id;
        // Her box as Georg's partner comes before her own; his as hers after his own.
        const bool partnerFirst = std::string_view(id) == "D10";
        const std::int32_t own = partnerFirst ? boxes[1] : boxes[0];
        const std::int32_t partner = partnerFirst ? boxes[0] : boxes[1];
        EXPECT_EQ(cousins.boxes[static_cast<std::size_t>(own)].firstBox, -1) << id;
        EXPECT_EQ(cousins.boxes[static_cast<std::size_t>(partner)].firstBox, own) << id;
        EXPECT_EQ(TextsOf(cousins, partner).back(), "Repeated") << id;
        EXPECT_FALSE(boxesToward(cousins, own).empty()) << id;
    }

    const ChartLayout widow = chartOf(loaded, "W1", ChartKind::Descendants, options);
    ExpectSound(widow, "widow");
    const auto maria = BoxesOf(widow, PersonOf(loaded, "W4"));
    ASSERT_EQ(maria.size(), 2U);
    EXPECT_EQ(widow.boxes[static_cast<std::size_t>(maria[0])].firstBox, -1);
    EXPECT_EQ(widow.boxes[static_cast<std::size_t>(maria[1])].firstBox, maria[0]);
    EXPECT_EQ(TextsOf(widow, maria[1]).back(), "Repeated");
    EXPECT_NE(TextsOf(widow, maria[0]).back(), "Repeated");
}

// L1 is his own grandfather: his son L2 is also his father, and each half
// reaches L1 again. Both halves end, and the son's box refers to the father's.
TEST(HourglassChart, APersonInBothHalvesIsDrawnOnceAndALoopEnds) {
    const auto loaded = test::LoadFamily(test::kDescendantFamily);
    ChartOptions options;
    options.generations = kMaxChartGenerations;
    options.descendantGenerations = kMaxChartGenerations;
    options.ahnentafelNumbers = true;
    const ChartLayout chart = chartOf(loaded, "L1", ChartKind::Hourglass, options);
    ExpectSound(chart, "loop");
    EXPECT_FALSE(chart.cut);
    const auto son = BoxesOf(chart, PersonOf(loaded, "L2"));
    ASSERT_EQ(son.size(), 2U);
    const ChartBox& father = chart.boxes[static_cast<std::size_t>(son[0])];
    const ChartBox& again = chart.boxes[static_cast<std::size_t>(son[1])];
    EXPECT_EQ(father.generation, 1);
    EXPECT_EQ(again.generation, -1);
    EXPECT_EQ(again.firstBox, son[0]);
    EXPECT_EQ(TextsOf(chart, son[1]).back(), "Repeated, see 2");
    EXPECT_TRUE(boxesToward(chart, son[1]).empty());
    // Above, L1, his father L2 and unknown mother, and L2's parents: L1 again
    // and an unknown mother; below, the family's unknown partner and the son.
    EXPECT_EQ(chart.boxes.size(), 7U);
}

} // namespace
} // namespace stirpex
