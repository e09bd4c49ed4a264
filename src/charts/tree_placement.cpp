#include "charts/tree_placement.h"

#include "charts/chart_measure.h"
#include "charts/tidy_tree.h"

#include <algorithm>
#include <limits>

namespace stirpex::detail {

namespace {

std::size_t at(std::int32_t index) noexcept {
    return static_cast<std::size_t>(index);
}

// Boxes sized to their texts, texts placed within the box (x still to come).
void sizeBoxes(const ChartTree& tree, const BoxStyle& style, const ChartMeasure& measure, ChartLayout& layout) {
    const double textWidth = style.maxWidth - 2 * style.padding;
    layout.boxes.resize(tree.boxes.size());
    for (std::size_t i = 0; i < tree.boxes.size(); ++i) {
        ChartBox& box = layout.boxes[i];
        box = ChartBoxFor(tree.boxes[i]);
        std::vector<BoxLine> lines = BoxLines(tree, i, measure, textWidth);
        double linesHeight = 0;
        double widest = 0;
        for (const BoxLine& line : lines) {
            linesHeight += measure.lineHeight(line.font);
            widest = std::max(widest, line.width);
        }
        box.rect.width = std::clamp(widest + 2 * style.padding, style.minWidth, style.maxWidth);
        box.rect.height = style.height;
        box.textBegin = static_cast<std::uint32_t>(layout.texts.size());
        box.textCount = static_cast<std::uint32_t>(lines.size());
        double y = (style.height - linesHeight) / 2;
        for (BoxLine& line : lines) {
            const double height = measure.lineHeight(line.font);
            layout.texts.push_back({std::move(line.text), line.font, {0, y + height / 2}, line.width, 0});
            y += height;
        }
    }
}

// Where each generation lies along the axis the generations follow.
struct Levels {
    std::vector<double> low;  // the least coordinate of the generation's boxes
    std::vector<double> high; // the greatest
    bool backwards = false;   // generations go up the page
    double near(std::size_t level) const { return backwards ? high[level] : low[level]; }
    double far(std::size_t level) const { return backwards ? low[level] : high[level]; }
    double middle(std::size_t level) const { return (low[level] + high[level]) / 2; }
};

Levels placeLevels(const std::vector<double>& thickness, ChartOrientation orientation, double gap) {
    Levels levels;
    levels.backwards = orientation == ChartOrientation::BottomUp;
    double start = 0;
    for (const double t : thickness) {
        if (levels.backwards) {
            // Generation 0 keeps the same place as going down, so two halves can share it.
            const double bottom = thickness.front() - start;
            levels.low.push_back(bottom - t);
            levels.high.push_back(bottom);
        } else {
            levels.low.push_back(start);
            levels.high.push_back(start + t);
        }
        start += t + gap;
    }
    return levels;
}

class Placement {
public:
    Placement(const ChartTree& tree, ChartLayout& layout, const ChartOptions& options)
        : m_tree(tree), m_layout(layout), m_options(options),
          m_across(layout.orientation == ChartOrientation::LeftToRight) {}

    void run() {
        alignColumns();
        m_levels = placeLevels(m_thickness, m_layout.orientation, m_options.generationGap);
        std::vector<TidyNode> nodes(m_tree.units.size());
        for (std::size_t u = 0; u < nodes.size(); ++u) {
            nodes[u] = tidyNode(m_tree.units[u]);
        }
        m_lead = TidyPositions(nodes, m_options.siblingGap);
        for (std::size_t u = 0; u < nodes.size(); ++u) {
            placeUnit(m_tree.units[u], m_lead[u]);
        }
        for (std::size_t u = 0; u < nodes.size(); ++u) {
            connect(u, nodes);
        }
    }

private:
    double breadthOf(const ChartBox& box) const { return m_across ? box.rect.height : box.rect.width; }
    double depthOf(const ChartBox& box) const { return m_across ? box.rect.width : box.rect.height; }
    ChartPoint point(double breadth, double level) const {
        return m_across ? ChartPoint{level, breadth} : ChartPoint{breadth, level};
    }
    void line(double breadth1, double level1, double breadth2, double level2) {
        m_layout.connectors.push_back({point(breadth1, level1), point(breadth2, level2)});
    }

    void alignColumns() {
        m_thickness.assign(static_cast<std::size_t>(std::max(m_tree.levels, 1)), 0);
        for (const TreeUnit& unit : m_tree.units) {
            for (std::int32_t b = unit.boxBegin; b < unit.boxEnd; ++b) {
                double& t = m_thickness[at(unit.level)];
                t = std::max(t, depthOf(m_layout.boxes[at(b)]));
            }
        }
        if (m_across) {
            for (const TreeUnit& unit : m_tree.units) {
                for (std::int32_t b = unit.boxBegin; b < unit.boxEnd; ++b) {
                    m_layout.boxes[at(b)].rect.width = m_thickness[at(unit.level)];
                }
            }
        }
    }

    // From the unit's leading edge to the middle of the gap before box `box`.
    double dropBefore(const TreeUnit& unit, std::int32_t box) const {
        double offset = 0;
        for (std::int32_t b = unit.boxBegin; b < box; ++b) {
            offset += breadthOf(m_layout.boxes[at(b)]) + m_options.partnerGap;
        }
        return offset - m_options.partnerGap / 2;
    }
    // Where the line of the unit's children of family `family` leaves it.
    double drop(const TreeUnit& unit, std::int32_t family) const {
        if (m_tree.partners && unit.boxBegin + 1 + family < unit.boxEnd) {
            return dropBefore(unit, unit.boxBegin + 1 + family);
        }
        return breadthOf(m_layout.boxes[at(unit.boxBegin)]) / 2;
    }

    TidyNode tidyNode(const TreeUnit& unit) const {
        TidyNode node;
        node.childBegin = unit.childBegin;
        node.childEnd = unit.childEnd;
        for (std::int32_t b = unit.boxBegin; b < unit.boxEnd; ++b) {
            node.breadth += breadthOf(m_layout.boxes[at(b)]) + (b > unit.boxBegin ? m_options.partnerGap : 0);
        }
        node.up = breadthOf(m_layout.boxes[at(unit.boxBegin)]) / 2;
        node.down = node.up;
        if (unit.childBegin < unit.childEnd) {
            node.down = (drop(unit, m_tree.units[at(unit.childBegin)].family) +
                         drop(unit, m_tree.units[at(unit.childEnd - 1)].family)) /
                        2;
        }
        return node;
    }

    void placeUnit(const TreeUnit& unit, double lead) {
        const auto level = at(unit.level);
        double breadth = lead;
        for (std::int32_t b = unit.boxBegin; b < unit.boxEnd; ++b) {
            ChartBox& box = m_layout.boxes[at(b)];
            const ChartPoint corner = point(breadth, m_levels.low[level]);
            box.rect.x = corner.x;
            box.rect.y = corner.y;
            breadth += breadthOf(box) + m_options.partnerGap;
            for (std::uint32_t t = box.textBegin; t < box.textBegin + box.textCount; ++t) {
                ChartText& text = m_layout.texts[t];
                text.centre.x = box.rect.x + box.rect.width / 2;
                text.centre.y += box.rect.y;
            }
        }
    }

    void connect(std::size_t u, const std::vector<TidyNode>& nodes) {
        const TreeUnit& unit = m_tree.units[u];
        const auto level = at(unit.level);
        const double unitLead = m_lead[u];
        double breadth = unitLead;
        for (std::int32_t b = unit.boxBegin; b + 1 < unit.boxEnd; ++b) {
            breadth += breadthOf(m_layout.boxes[at(b)]);
            line(breadth, m_levels.middle(level), breadth + m_options.partnerGap, m_levels.middle(level));
            breadth += m_options.partnerGap;
        }
        // Each family's children in one run; with several, each run's line
        // along the gap at its own height, so that they never run together.
        std::vector<std::pair<std::int32_t, std::int32_t>> runs;
        for (std::int32_t c = unit.childBegin; c < unit.childEnd;) {
            std::int32_t end = c;
            while (end < unit.childEnd && m_tree.units[at(end)].family == m_tree.units[at(c)].family) {
                ++end;
            }
            runs.emplace_back(c, end);
            c = end;
        }
        const double far = m_levels.far(level);
        const double step = runs.empty() ? 0 : (m_levels.near(level + 1) - far) / static_cast<double>(runs.size() + 1);
        for (std::size_t r = 0; r < runs.size(); ++r) {
            connectFamily(unit, unitLead, runs[r].first, runs[r].second, far + step * static_cast<double>(r + 1),
                          nodes);
        }
    }

    void connectFamily(const TreeUnit& unit, double unitLead, std::int32_t begin, std::int32_t end, double bar,
                       const std::vector<TidyNode>& nodes) {
        const auto level = at(unit.level);
        const std::int32_t family = m_tree.units[at(begin)].family;
        const double from = unitLead + drop(unit, family);
        const bool fromGap = m_tree.partners && unit.boxBegin + 1 + family < unit.boxEnd;
        line(from, fromGap ? m_levels.middle(level) : m_levels.far(level), from, bar);
        double low = from;
        double high = from;
        for (std::int32_t c = begin; c < end; ++c) {
            const double to = m_lead[at(c)] + nodes[at(c)].up;
            low = std::min(low, to);
            high = std::max(high, to);
            line(to, bar, to, m_levels.near(level + 1));
        }
        if (high > low) {
            line(low, bar, high, bar);
        }
    }

    const ChartTree& m_tree;
    ChartLayout& m_layout;
    const ChartOptions& m_options;
    bool m_across;
    std::vector<double> m_thickness;
    Levels m_levels;
    std::vector<double> m_lead;
};

} // namespace

ChartLayout PlaceTree(const ChartTree& tree, ChartOrientation orientation, const BoxStyle& style,
                      const ChartMeasure& measure, const ChartOptions& options) {
    ChartLayout layout;
    layout.orientation = orientation;
    layout.cut = tree.cut;
    sizeBoxes(tree, style, measure, layout);
    if (!tree.units.empty()) {
        Placement(tree, layout, options).run();
    }
    return layout;
}

void FitToOrigin(ChartLayout& layout, double margin) {
    double left = std::numeric_limits<double>::infinity();
    double top = left;
    double right = -left;
    double bottom = -left;
    for (const ChartBox& box : layout.boxes) {
        left = std::min(left, box.rect.x);
        top = std::min(top, box.rect.y);
        right = std::max(right, box.rect.right());
        bottom = std::max(bottom, box.rect.bottom());
    }
    if (layout.boxes.empty()) {
        left = top = right = bottom = 0;
    }
    const double dx = margin - left;
    const double dy = margin - top;
    for (ChartBox& box : layout.boxes) {
        box.rect.x += dx;
        box.rect.y += dy;
    }
    for (ChartText& text : layout.texts) {
        text.centre.x += dx;
        text.centre.y += dy;
    }
    for (ChartSegment& segment : layout.connectors) {
        segment.from.x += dx;
        segment.from.y += dy;
        segment.to.x += dx;
        segment.to.y += dy;
    }
    layout.fanCentre.x += dx;
    layout.fanCentre.y += dy;
    layout.width = right - left + 2 * margin;
    layout.height = bottom - top + 2 * margin;
}

} // namespace stirpex::detail
