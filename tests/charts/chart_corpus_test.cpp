// Every chart of a spread of people from each public file of the repository:
// real files hold what hand-built families forget (people in many families,
// cousins married, parents missing, loops).

#include "charts/chart.h"

#include "chart_test_support.h"
#include "charts/chart_index.h"
#include "gedcom/load_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

namespace stirpex {
namespace {

const FixedMeasure kMeasure;

std::map<std::int32_t, std::vector<std::int32_t>> boxesTowardEach(const ChartLayout& chart) {
    std::map<std::int32_t, std::vector<std::int32_t>> toward;
    for (std::size_t i = 0; i < chart.boxes.size(); ++i) {
        toward[chart.boxes[i].towardCentre].push_back(static_cast<std::int32_t>(i));
    }
    return toward;
}

// Pedigree from the left: each person at the height halfway between the parents shown.
void expectBetweenParents(const ChartLayout& chart, const std::string& what) {
    for (const auto& [child, parents] : boxesTowardEach(chart)) {
        if (child < 0) {
            continue;
        }
        const double middle = (chart.boxes[static_cast<std::size_t>(parents.front())].rect.centre().y +
                               chart.boxes[static_cast<std::size_t>(parents.back())].rect.centre().y) /
                              2;
        EXPECT_NEAR(chart.boxes[static_cast<std::size_t>(child)].rect.centre().y, middle, 1e-6) << what;
    }
}

// Fan: each parent's sector within the child's sweep, on the next ring.
void expectWithinChildsSweep(const ChartLayout& chart, const std::string& what) {
    for (const ChartBox& box : chart.boxes) {
        if (box.towardCentre <= 0) {
            continue;
        }
        const ChartSector& child = chart.boxes[static_cast<std::size_t>(box.towardCentre)].sector;
        EXPECT_DOUBLE_EQ(box.sector.innerRadius, child.outerRadius) << what;
        EXPECT_GE(box.sector.startAngle, child.startAngle - 1e-9) << what;
        EXPECT_LE(box.sector.startAngle + box.sector.sweepAngle, child.startAngle + child.sweepAngle + 1e-9) << what;
    }
}

TEST(ChartCorpus, EveryKindOfChartIsSoundForPeopleOfEveryFile) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(STIRPEX_REPO_CORPUS_DIR)) {
        if (entry.path().extension() != ".ged") {
            continue;
        }
        CStirpexDoc doc;
        std::string error;
        LoadGedcomFile(doc, entry.path(), LoadEnvironment{}, error);
        ASSERT_TRUE(error.empty()) << entry.path() << ": " << error;
        ++files;
        const std::int32_t step = std::max(doc.m_nPersons / 40, 1);
        for (std::int32_t i = 0; i < doc.m_nPersons; i += step) {
            const CPerson& person = *doc.m_ppPersons[static_cast<std::size_t>(i)];
            const std::string what = entry.path().filename().string() + " " + std::string(person.m_strID.view());
            ChartOptions options;
            options.generations = 8;
            options.descendantGenerations = 8;
            options.ahnentafelNumbers = true;
            const ChartLayout pedigree = LayoutChart(doc, person, ChartKind::Pedigree, options, kMeasure);
            test::ExpectSound(pedigree, what + " pedigree");
            expectBetweenParents(pedigree, what + " pedigree");
            for (const bool spouses : {true, false}) {
                options.includeSpouses = spouses;
                const ChartLayout descendants = LayoutChart(doc, person, ChartKind::Descendants, options, kMeasure);
                test::ExpectSound(descendants, what + " descendants");
                const ChartLayout hourglass = LayoutChart(doc, person, ChartKind::Hourglass, options, kMeasure);
                test::ExpectSound(hourglass, what + " hourglass");
                test::ExpectCouplesOverChildren(doc, descendants, what + " descendants");
                test::ExpectCouplesOverChildren(doc, hourglass, what + " hourglass");
            }
            const ChartLayout fan = LayoutChart(doc, person, ChartKind::Fan, options, kMeasure);
            expectWithinChildsSweep(fan, what + " fan");
            EXPECT_FALSE(HasFailure()) << what;
            if (HasFailure()) {
                return;
            }
        }
    }
    EXPECT_GT(files, 10);
}

} // namespace
} // namespace stirpex
