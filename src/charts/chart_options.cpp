#include "charts/chart_options.h"

#include <algorithm>

namespace stirpex {

std::int32_t DefaultGenerations(ChartKind kind) noexcept {
    switch (kind) {
    case ChartKind::Pedigree:
        return 5;
    case ChartKind::Descendants:
        return 4;
    case ChartKind::Hourglass:
        return 3;
    case ChartKind::Fan:
        return 5;
    }
    return 4;
}

ChartOptions Normalized(ChartKind kind, ChartOptions options) noexcept {
    const auto generations = [kind](std::int32_t asked) {
        const std::int32_t n = asked <= 0 ? DefaultGenerations(kind) : asked;
        if (kind == ChartKind::Fan) {
            return std::clamp(n, kMinFanGenerations, kMaxFanGenerations);
        }
        return std::min(n, kMaxChartGenerations);
    };
    options.generations = generations(options.generations);
    options.descendantGenerations = generations(options.descendantGenerations);
    options.fanSweep = std::clamp(options.fanSweep, 90.0, 360.0);
    options.maxBoxes = std::clamp(options.maxBoxes, 1, kMaxChartBoxes);
    options.boxPadding = std::max(options.boxPadding, 0.0);
    options.minBoxWidth = std::max(options.minBoxWidth, 1.0);
    options.maxBoxWidth = std::max(options.maxBoxWidth, options.minBoxWidth);
    options.siblingGap = std::max(options.siblingGap, 0.0);
    options.generationGap = std::max(options.generationGap, 0.0);
    options.partnerGap = std::max(options.partnerGap, 0.0);
    options.margin = std::max(options.margin, 0.0);
    options.fanRingWidth = std::max(options.fanRingWidth, 0.0);
    if (kind == ChartKind::Hourglass || kind == ChartKind::Descendants) {
        // Descendants go down; only the pedigree turns.
        options.orientation = ChartOrientation::TopDown;
    }
    return options;
}

} // namespace stirpex
