#include "charts/chart.h"

#include "charts/box_text.h"
#include "charts/chart_walks.h"
#include "charts/fan_chart.h"
#include "charts/tree_placement.h"

#include <algorithm>

namespace stirpex {

namespace {

using detail::ChartTree;

ChartLayout placed(const ChartTree& tree, ChartOrientation orientation, const ChartMeasure& measure,
                   const ChartOptions& options, bool numbers) {
    const detail::BoxStyle style = detail::MakeBoxStyle(measure, options, numbers, tree.repeats);
    return detail::PlaceTree(tree, orientation, style, measure, options);
}

// The ancestors' layout with the descendants' added below it: the person's
// box of the descendants goes, every reference to it leads to the
// ancestors' box 0, and the descendants move to stand under it.
void appendBelow(ChartLayout& top, ChartLayout bottom) {
    const std::int32_t base = static_cast<std::int32_t>(top.boxes.size()) - 1;
    const auto remap = [base](std::int32_t box) { return box <= 0 ? box : box + base; };
    const double dx = top.boxes[0].rect.x - bottom.boxes[0].rect.x;
    const double dy = top.boxes[0].rect.y - bottom.boxes[0].rect.y;
    for (std::size_t i = 1; i < bottom.boxes.size(); ++i) {
        ChartBox box = bottom.boxes[i];
        box.rect.x += dx;
        box.rect.y += dy;
        box.firstBox = remap(box.firstBox);
        box.towardCentre = remap(box.towardCentre);
        const auto textBegin = static_cast<std::uint32_t>(top.texts.size());
        for (std::uint32_t t = box.textBegin; t < box.textBegin + box.textCount; ++t) {
            ChartText text = std::move(bottom.texts[t]);
            text.centre.x += dx;
            text.centre.y += dy;
            top.texts.push_back(std::move(text));
        }
        box.textBegin = textBegin;
        top.boxes.push_back(box);
    }
    for (ChartSegment segment : bottom.connectors) {
        segment.from.x += dx;
        segment.from.y += dy;
        segment.to.x += dx;
        segment.to.y += dy;
        top.connectors.push_back(segment);
    }
    top.cut = top.cut || bottom.cut;
}

ChartLayout hourglass(const CStirpexDoc& doc, const CPerson& person, const ChartOptions& options,
                      const ChartMeasure& measure) {
    ChartTree above = detail::WalkAncestors(doc, person, options.generations, options);
    ChartOptions belowOptions = options;
    belowOptions.maxBoxes = std::max(options.maxBoxes - static_cast<std::int32_t>(above.boxes.size()) + 1, 1);
    // Someone among the ancestors is drawn there with their relatives; among the descendants they only refer to it.
    ChartTree below = detail::WalkDescendants(doc, person, options.descendantGenerations, belowOptions, &above);
    if (options.ahnentafelNumbers) {
        below.boxes[0].number.assign(1, '1'); // the shared box is the same on both sides
    }
    above.repeats = below.repeats = above.repeats || below.repeats; // both halves' boxes of one height
    ChartLayout layout = placed(above, ChartOrientation::BottomUp, measure, options, options.ahnentafelNumbers);
    const std::size_t base = layout.boxes.size() - 1;
    appendBelow(layout, placed(below, ChartOrientation::TopDown, measure, options, options.ahnentafelNumbers));
    for (std::size_t i = 1; i < below.boxes.size(); ++i) {
        if (below.boxes[i].earlierBox >= 0) {
            layout.boxes[base + i].firstBox = below.boxes[i].earlierBox;
        }
    }
    layout.orientation = ChartOrientation::TopDown;
    layout.ancestorGenerations = std::max(above.levels - 1, 0);
    layout.descendantGenerations = std::max(below.levels - 1, 0);
    return layout;
}

// `options` normalised for the kind.
ChartLayout laidOut(const CStirpexDoc& doc, const CPerson& person, ChartKind kind, const ChartOptions& options,
                    const ChartMeasure& measure) {
    ChartLayout layout;
    switch (kind) {
    case ChartKind::Fan:
        return detail::LayoutFan(doc, person, options, measure);
    case ChartKind::Pedigree: {
        const ChartTree tree = detail::WalkAncestors(doc, person, options.generations, options);
        layout = placed(tree, options.orientation, measure, options, options.ahnentafelNumbers);
        layout.ancestorGenerations = std::max(tree.levels - 1, 0);
        break;
    }
    case ChartKind::Descendants: {
        const ChartTree tree = detail::WalkDescendants(doc, person, options.generations, options);
        layout = placed(tree, ChartOrientation::TopDown, measure, options, false);
        layout.descendantGenerations = std::max(tree.levels - 1, 0);
        break;
    }
    case ChartKind::Hourglass:
        layout = hourglass(doc, person, options, measure);
        break;
    }
    layout.kind = kind;
    detail::FitToOrigin(layout, options.margin);
    return layout;
}

} // namespace

ChartLayout LayoutChart(const CStirpexDoc& doc, const CPerson& person, ChartKind kind, const ChartOptions& options,
                        const ChartMeasure& measure) {
    return laidOut(doc, person, kind, Normalized(kind, options), measure);
}

} // namespace stirpex
