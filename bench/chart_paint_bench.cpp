// stirpex-chart-paint-bench: how fast the chart window paints while it
// scrolls over a large descendants chart, on Qt's offscreen platform.
//
//   stirpex-chart-paint-bench [--people N] [--paints K]
//
// The document is the chart benchmark's (bench_descent.h, 100,000
// descendants by default). Timed:
//   layout   the descendants chart with the window's own fonts measured;
//   paint    K paints (default 300) of a 1920 x 1080 chart view at 100 %,
//            scrolled to K places over the whole chart: median and slowest,
//            and the boxes each painted on average;
//   whole    the same paint drawing every box of the chart instead, once,
//            what painting without the index would cost.

#include "bench_descent.h"
#include "bench_timing.h"
#include "charts/chart.h"
#include "charts/chart_draw_qt.h"
#include "charts/chart_view.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

using namespace stirpex;
using stirpex::bench::Clock;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: stirpex-chart-paint-bench [--people N] [--paints K]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int people = 100000;
    int paints = 300;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view arg = argv[i];
        if (arg == "--people") {
            people = bench::NumberArgument(argv[i + 1], 1, 10000000, usage);
        } else if (arg == "--paints") {
            paints = bench::NumberArgument(argv[i + 1], 1, 100000, usage);
        } else {
            usage();
        }
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    const auto doc = bench::BuildDescent(people);
    const ChartFonts fonts;
    const QtChartMeasure measure(fonts);
    ChartOptions options;
    options.generations = kMaxChartGenerations;
    auto start = Clock::now();
    ChartLayout layout = LayoutChart(*doc, *doc->m_ppPersons.front(), ChartKind::Descendants, options, measure);
    const double layoutSeconds = secondsSince(start);
    const std::size_t boxes = layout.boxes.size();
    std::printf("layout   %10.1f ms  %zu boxes, %.0f x %.0f units%s\n", 1000 * layoutSeconds, boxes, layout.width,
                layout.height, layout.cut ? ", cut at the box limit" : "");

    ChartView view(fonts);
    view.resize(1920 + view.frameWidth() * 2, 1080 + view.frameWidth() * 2);
    view.SetChart(std::move(layout));
    view.show();
    QApplication::processEvents();
    QScrollBar& across = *view.horizontalScrollBar();
    QScrollBar& down = *view.verticalScrollBar();
    std::vector<double> times;
    std::size_t painted = 0;
    for (int k = 0; k < paints; ++k) {
        across.setValue(static_cast<int>(static_cast<long long>(across.maximum()) * k / std::max(1, paints - 1)));
        down.setValue(static_cast<int>(static_cast<long long>(down.maximum()) * ((k * 7) % paints) / paints));
        start = Clock::now();
        view.viewport()->repaint();
        times.push_back(secondsSince(start));
        painted += view.LastPaintedBoxes();
    }
    std::printf("paint    %10.3f ms median, %.3f ms slowest, %zu boxes a paint on average (%d paints)\n",
                1000 * median(times), 1000 * *std::max_element(times.begin(), times.end()),
                painted / static_cast<std::size_t>(paints), paints);

    QImage image(1920, 1080, QImage::Format_RGB32);
    start = Clock::now();
    {
        QPainter painter(&image);
        DrawChart(painter, view.Chart(), fonts);
    }
    std::printf("whole    %10.1f ms  every one of %zu boxes drawn\n", 1000 * secondsSince(start), boxes);
    return 0;
}
