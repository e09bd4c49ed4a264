#include "charts/tree_placement.h"

#include "charts/chart_measure.h"
#include "charts/tidy_tree.h"

#include <algorithm>
#include <limits>
#include <utility>

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

// The tidy tree's nodes of the units: one per unit, except that a person
// with several families (and so several partner boxes) stands as one node
// for the person and the first partner and one more for each further
// partner, each node over its own family's children.
struct UnitNodes {
    std::vector<TidyNode> nodes;
    std::vector<std::int32_t> unitOf;    // per node
    std::vector<std::int32_t> firstNode; // per unit, and one past the last
    // Per node, its first box: a node holds the boxes up to the next node's
    // first, or to the end of its unit's.
    std::vector<std::int32_t> firstBox;
};

class Placement {
public:
    Placement(const ChartTree& tree, ChartLayout& layout, const ChartOptions& options)
        : m_tree(tree), m_layout(layout), m_options(options),
          m_across(layout.orientation == ChartOrientation::LeftToRight) {}

    void run() {
        alignColumns();
        m_levels = placeLevels(m_thickness, m_layout.orientation, m_options.generationGap);
        makeNodes();
        m_lead = TidyPositions(m_nodes.nodes, m_options.siblingGap, m_options.partnerGap);
        m_boxLead.assign(m_layout.boxes.size(), 0);
        for (std::size_t n = 0; n < m_nodes.nodes.size(); ++n) {
            placeNode(n);
        }
        for (std::size_t u = 0; u < m_tree.units.size(); ++u) {
            connect(u);
        }
    }

private:
    double breadthOf(const ChartBox& box) const { return m_across ? box.rect.height : box.rect.width; }
    double breadthOf(std::int32_t box) const { return breadthOf(m_layout.boxes[at(box)]); }
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

    // Partner boxes of the unit, one per family; none without partners.
    std::int32_t partnerBoxes(const TreeUnit& unit) const {
        return m_tree.partners ? unit.boxEnd - unit.boxBegin - 1 : 0;
    }
    // The units of family `family` among the unit's children (all of them without partners).
    std::pair<std::int32_t, std::int32_t> familyChildren(const TreeUnit& unit, std::int32_t family, bool all) const {
        if (all) {
            return {unit.childBegin, unit.childEnd};
        }
        std::int32_t begin = unit.childBegin;
        while (begin < unit.childEnd && m_tree.units[at(begin)].family < family) {
            ++begin;
        }
        std::int32_t end = begin;
        while (end < unit.childEnd && m_tree.units[at(end)].family == family) {
            ++end;
        }
        return {begin, end};
    }

    void makeNodes() {
        const std::size_t units = m_tree.units.size();
        m_nodes.firstNode.resize(units + 1);
        for (std::size_t u = 0; u < units; ++u) {
            m_nodes.firstNode[u] = static_cast<std::int32_t>(m_nodes.nodes.size());
            const TreeUnit& unit = m_tree.units[u];
            const std::int32_t parts = std::max(partnerBoxes(unit), 1);
            for (std::int32_t part = 0; part < parts; ++part) {
                const std::int32_t first = part == 0 ? unit.boxBegin : unit.boxBegin + 1 + part;
                const std::int32_t end = part > 0 ? first + 1 : parts > 1 ? first + 2 : unit.boxEnd;
                TidyNode node;
                node.joined = part > 0;
                for (std::int32_t b = first; b < end; ++b) {
                    node.breadth += breadthOf(b) + (b > first ? m_options.partnerGap : 0);
                }
                node.up = breadthOf(first) / 2;
                // A family's line leaves from the gap before its partner's box.
                node.down = partnerBoxes(unit) == 0 ? node.up
                            : part == 0             ? breadthOf(first) + m_options.partnerGap / 2
                                                    : -m_options.partnerGap / 2;
                m_nodes.nodes.push_back(node);
                m_nodes.unitOf.push_back(static_cast<std::int32_t>(u));
                m_nodes.firstBox.push_back(first);
            }
        }
        m_nodes.firstNode[units] = static_cast<std::int32_t>(m_nodes.nodes.size());
        // Children are known by unit; each family's run becomes the node range of its units.
        for (std::size_t n = 0; n < m_nodes.nodes.size(); ++n) {
            const TreeUnit& unit = m_tree.units[at(m_nodes.unitOf[n])];
            const std::int32_t part = static_cast<std::int32_t>(n) - m_nodes.firstNode[at(m_nodes.unitOf[n])];
            const auto [begin, end] = familyChildren(unit, part, partnerBoxes(unit) <= 1);
            m_nodes.nodes[n].childBegin = m_nodes.firstNode[at(begin)];
            m_nodes.nodes[n].childEnd = m_nodes.firstNode[at(end)];
        }
    }

    void placeNode(std::size_t n) {
        const auto level = at(m_tree.units[at(m_nodes.unitOf[n])].level);
        const std::int32_t end = n + 1 < m_nodes.firstBox.size() && m_nodes.unitOf[n + 1] == m_nodes.unitOf[n]
                                     ? m_nodes.firstBox[n + 1]
                                     : m_tree.units[at(m_nodes.unitOf[n])].boxEnd;
        double breadth = m_lead[n];
        for (std::int32_t b = m_nodes.firstBox[n]; b < end; ++b) {
            ChartBox& box = m_layout.boxes[at(b)];
            m_boxLead[at(b)] = breadth;
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

    // The couple's line joins the boxes of a unit; each family's line drops
    // from its node's point to the middle of the gap, runs along it over the
    // children and down to each. Families are side by side, never above one
    // another, so their lines along the gap never meet.
    void connect(std::size_t u) {
        const TreeUnit& unit = m_tree.units[u];
        const auto level = at(unit.level);
        for (std::int32_t b = unit.boxBegin; b + 1 < unit.boxEnd; ++b) {
            line(m_boxLead[at(b)] + breadthOf(b), m_levels.middle(level), m_boxLead[at(b + 1)], m_levels.middle(level));
        }
        const double start = partnerBoxes(unit) > 0 ? m_levels.middle(level) : m_levels.far(level);
        for (std::int32_t n = m_nodes.firstNode[u]; n < m_nodes.firstNode[u + 1]; ++n) {
            const TidyNode& node = m_nodes.nodes[at(n)];
            if (node.childBegin == node.childEnd) {
                continue;
            }
            const double bar = (m_levels.far(level) + m_levels.near(level + 1)) / 2;
            const double from = m_lead[at(n)] + node.down;
            line(from, start, from, bar);
            double low = from;
            double high = from;
            for (std::int32_t c = node.childBegin; c < node.childEnd; ++c) {
                if (m_nodes.nodes[at(c)].joined) {
                    continue;
                }
                const double to = m_lead[at(c)] + m_nodes.nodes[at(c)].up;
                low = std::min(low, to);
                high = std::max(high, to);
                line(to, bar, to, m_levels.near(level + 1));
            }
            if (high > low) {
                line(low, bar, high, bar);
            }
        }
    }

    const ChartTree& m_tree;
    ChartLayout& m_layout;
    const ChartOptions& m_options;
    bool m_across;
    std::vector<double> m_thickness;
    Levels m_levels;
    UnitNodes m_nodes;
    std::vector<double> m_lead;    // per node
    std::vector<double> m_boxLead; // per box
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
