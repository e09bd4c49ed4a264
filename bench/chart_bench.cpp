// stirpex-chart-bench: how fast the descendants chart lays out, against the
// tree dialog's walk of the same person.
//
//   stirpex-chart-bench [--people N] [--repeat K]
//   stirpex-chart-bench FILE [--person ID] [--generations G] [--repeat K]
//
// Without a file the document is built in memory: a first man whose line
// spreads generation by generation, each descendant married to a wife
// without parents and father or mother of 0 to 5 children in a fixed
// pattern (2.3 on average), until the first man has N descendants (100,000
// by default, about 14 generations). With a file, the descendants of the
// person (the first of the file by default) over G generations (10 by default).
//
// Timed, K times each (default 5), medians:
//   walk         the tree dialog's descendants walk of the person, partners
//                shown, into the in-memory tree its view reads (baseline);
//   chart        the descendants chart, partners shown: walk, texts measured
//                with a fixed measure, tidy placement, connectors;
//   no-partners  the same without partners;
//   index        the visible-area index of the chart;
//   window       one query of a 1920 x 1080 window, at 1000 places over the chart.
// It also counts the texts the chart measured.

#include "bench_descent.h"
#include "bench_load.h"
#include "bench_timing.h"
#include "charts/chart.h"
#include "charts/chart_index.h"
#include "charts/chart_measure.h"
#include "model/stirpex_doc.h"
#include "trees/lineage_tree.h"
#include "trees/tree_walks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace stirpex;
using stirpex::bench::Clock;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

// The fixed measure, counting its calls: a window's font measure costs about
// a microsecond a text, so the count says what it would add.
class CountingMeasure final : public ChartMeasure {
public:
    double textWidth(ChartFont font, std::string_view text) const override {
        ++calls;
        return m_fixed.textWidth(font, text);
    }
    double lineHeight(ChartFont font) const override { return m_fixed.lineHeight(font); }
    mutable std::int64_t calls = 0;

private:
    FixedMeasure m_fixed;
};

struct Figure {
    explicit Figure(const char* figureName) : name(figureName) {}
    const char* name;
    std::vector<double> seconds;
    std::size_t count = 0;
};

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: stirpex-chart-bench [--people N] [--repeat K]\n"
                         "       stirpex-chart-bench FILE [--person ID] [--generations G] [--repeat K]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    int people = 100000;
    int repeat = 5;
    int generations = 10;
    const char* file = nullptr;
    std::string personId;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--people" && hasValue) {
            people = bench::NumberArgument(argv[++i], 1, 10000000, usage);
        } else if (arg == "--repeat" && hasValue) {
            repeat = bench::NumberArgument(argv[++i], 1, 1000, usage);
        } else if (arg == "--generations" && hasValue) {
            generations = bench::NumberArgument(argv[++i], 1, kMaxChartGenerations, usage);
        } else if (arg == "--person" && hasValue) {
            personId = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && file == nullptr) {
            file = argv[i];
        } else {
            usage();
        }
    }

    std::unique_ptr<CStirpexDoc> doc;
    if (file != nullptr) {
        doc = std::make_unique<CStirpexDoc>();
        const double seconds = bench::LoadOrExit(*doc, file, "stirpex-chart-bench");
        std::printf("loaded       %s: %d people in %.2f s\n", file, doc->m_nPersons, seconds);
    } else {
        doc = bench::BuildDescent(people);
        generations = kMaxChartGenerations;
        std::printf("document     %d people, %d families, built in memory\n", doc->m_nPersons, doc->m_nFamilies);
    }
    const CPerson* person =
        personId.empty() ? (doc->m_nPersons > 0 ? doc->m_ppPersons.front().get() : nullptr) : doc->FindPerson(personId);
    if (person == nullptr) {
        std::fprintf(stderr, "stirpex-chart-bench: no such person\n");
        return 1;
    }

    CountingMeasure measure;
    ChartOptions options;
    options.generations = generations;
    Figure walk("walk"), chart("chart"), bare("no-partners"), index("index"), window("window");
    bool cut = false;
    std::int64_t measureCalls = 0;
    std::int32_t depth = 0;
    for (int r = 0; r < repeat; ++r) {
        auto start = Clock::now();
        {
            LineageTree tree;
            TreeWalks walks(*doc, tree);
            walks.Open(person, TREE_DESCENDANTS);
            walk.seconds.push_back(secondsSince(start));
            walk.count = static_cast<std::size_t>(tree.size());
        }

        options.includeSpouses = false;
        start = Clock::now();
        bare.count = LayoutChart(*doc, *person, ChartKind::Descendants, options, measure).boxes.size();
        bare.seconds.push_back(secondsSince(start));

        options.includeSpouses = true;
        measure.calls = 0;
        start = Clock::now();
        const ChartLayout layout = LayoutChart(*doc, *person, ChartKind::Descendants, options, measure);
        chart.seconds.push_back(secondsSince(start));
        chart.count = layout.boxes.size();
        cut = layout.cut;
        measureCalls = measure.calls;
        depth = layout.descendantGenerations;

        start = Clock::now();
        const ChartIndex found(layout);
        index.seconds.push_back(secondsSince(start));
        index.count = layout.boxes.size();

        std::vector<std::int32_t> boxes;
        std::size_t total = 0;
        start = Clock::now();
        for (int q = 0; q < 1000; ++q) {
            const double x = (layout.width - 1920) * q / 1000.0;
            const double y = (layout.height - 1080) * ((q * 7) % 1000) / 1000.0;
            found.boxesIn({x, y, 1920, 1080}, boxes);
            total += boxes.size();
        }
        window.seconds.push_back(secondsSince(start) / 1000);
        window.count = total / 1000;
    }

    const double baseline = median(walk.seconds);
    std::printf("medians of %d runs%s; %d generations below the person, %lld texts measured for the chart\n", repeat,
                cut ? "; the chart was cut at its box limit" : "", depth, static_cast<long long>(measureCalls));
    for (const Figure* figure : {&walk, &chart, &bare, &index, &window}) {
        const double t = median(figure->seconds);
        std::printf("%-12s %10.3f ms  %8zu %s  %6.3f x walk\n", figure->name, 1000.0 * t, figure->count,
                    figure == &walk     ? "nodes"
                    : figure == &window ? "boxes a window"
                                        : "boxes",
                    t / baseline);
    }
    return 0;
}
