#include "charts/fan_chart.h"

#include "charts/box_text.h"
#include "charts/chart_measure.h"
#include "charts/chart_walks.h"
#include "charts/tree_placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace stirpex::detail {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

ChartPoint onCircle(double radius, double angle) {
    return {radius * std::cos(angle * kDegree), -radius * std::sin(angle * kDegree)};
}

// The bounding rectangle of a ring's sector around (0, 0): its four corners
// and wherever its outer arc crosses an axis.
ChartRect boundsOf(const ChartSector& sector) {
    std::vector<ChartPoint> points{onCircle(sector.innerRadius, sector.startAngle),
                                   onCircle(sector.innerRadius, sector.startAngle + sector.sweepAngle),
                                   onCircle(sector.outerRadius, sector.startAngle),
                                   onCircle(sector.outerRadius, sector.startAngle + sector.sweepAngle)};
    for (double axis = std::ceil(sector.startAngle / 90) * 90; axis <= sector.startAngle + sector.sweepAngle;
         axis += 90) {
        points.push_back(onCircle(sector.outerRadius, axis));
    }
    double left = points[0].x, right = left, top = points[0].y, bottom = top;
    for (const ChartPoint& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return {left, top, right - left, bottom - top};
}

double linesHeight(const std::vector<BoxLine>& lines, const ChartMeasure& measure) {
    double height = 0;
    for (const BoxLine& line : lines) {
        height += measure.lineHeight(line.font);
    }
    return height;
}

// Leaves out the number, then the years, then the mark, until the lines fit
// `room` across; the name (or an empty sector's text) always stays.
void fitAcross(std::vector<BoxLine>& lines, const ChartMeasure& measure, double room) {
    for (const ChartFont leaveOut : {ChartFont::Detail, ChartFont::Detail, ChartFont::Note}) {
        if (linesHeight(lines, measure) <= room || lines.size() <= 1) {
            return;
        }
        const auto it =
            std::find_if(lines.begin(), lines.end(), [leaveOut](const BoxLine& line) { return line.font == leaveOut; });
        if (it != lines.end()) {
            lines.erase(it);
        }
    }
}

class Fan {
public:
    Fan(const ChartTree& tree, const ChartOptions& options, const ChartMeasure& measure, ChartLayout& layout)
        : m_tree(tree), m_options(options), m_measure(measure), m_layout(layout),
          m_textWidth(options.maxBoxWidth - 2 * options.boxPadding),
          m_style(MakeBoxStyle(measure, options, options.ahnentafelNumbers, tree.repeats)) {}

    void run() {
        for (std::size_t i = 0; i < m_tree.boxes.size(); ++i) {
            m_lines.push_back(BoxLines(m_tree, i, m_measure, m_textWidth));
        }
        placeSlots();
        sizeRings();
        m_layout.boxes.resize(m_tree.boxes.size());
        for (std::size_t u = 0; u < m_tree.units.size(); ++u) {
            placeBox(u);
        }
    }

private:
    void placeSlots() {
        m_slot.assign(m_tree.units.size(), 0);
        for (std::size_t u = 0; u < m_tree.units.size(); ++u) {
            const TreeUnit& unit = m_tree.units[u];
            for (std::int32_t c = unit.childBegin; c < unit.childEnd; ++c) {
                const auto child = static_cast<std::size_t>(c);
                m_slot[child] = 2 * m_slot[u] + (m_tree.units[child].mother ? 1 : 0);
            }
        }
    }

    double widest(std::size_t box) const {
        double width = 0;
        for (const BoxLine& line : m_lines[box]) {
            width = std::max(width, line.width);
        }
        return width;
    }
    double sweepOf(std::int32_t level) const { return m_options.fanSweep / std::ldexp(1.0, level); }

    // Rings from the inside out: the disc holds the centre person's box, a
    // ring along the arc is as deep as a box, one along the radius as its longest text.
    void sizeRings() {
        const std::size_t levels = static_cast<std::size_t>(std::max(m_tree.levels, 1));
        std::vector<double> longest(levels, 0);
        for (const TreeUnit& unit : m_tree.units) {
            double& l = longest[static_cast<std::size_t>(unit.level)];
            l = std::max(l, widest(static_cast<std::size_t>(unit.boxBegin)));
        }
        const double discWidth =
            std::clamp(longest[0] + 2 * m_options.boxPadding, m_options.minBoxWidth, m_options.maxBoxWidth);
        m_outer.push_back(std::hypot(discWidth / 2, m_style.height / 2));
        m_radial.push_back(false);
        for (std::size_t level = 1; level < levels; ++level) {
            const double inner = m_outer.back();
            double depth = m_options.fanRingWidth > 0 ? m_options.fanRingWidth : m_style.height;
            // Along the arc a line is a chord: the longest text must fit where a line in the ring's middle meets the
            // sector's edges.
            const double half = std::min(sweepOf(static_cast<std::int32_t>(level)), 180.0) * kDegree / 2;
            const double chord = 2 * (inner + depth / 2 - m_measure.lineHeight(ChartFont::Name) / 2) * std::sin(half);
            const bool radial = chord < longest[level] + 2 * m_options.boxPadding;
            if (radial && m_options.fanRingWidth <= 0) {
                depth =
                    std::clamp(longest[level] + 2 * m_options.boxPadding, m_options.minBoxWidth, m_options.maxBoxWidth);
            }
            m_outer.push_back(inner + depth);
            m_radial.push_back(radial);
        }
    }

    void placeBox(std::size_t u) {
        const TreeUnit& unit = m_tree.units[u];
        const auto index = static_cast<std::size_t>(unit.boxBegin);
        const auto level = static_cast<std::size_t>(unit.level);
        ChartBox& box = m_layout.boxes[index];
        box = ChartBoxFor(m_tree.boxes[index]);
        box.isSector = true;
        ChartSector& sector = box.sector;
        sector.innerRadius = level == 0 ? 0 : m_outer[level - 1];
        sector.outerRadius = m_outer[level];
        if (level == 0) {
            sector.startAngle = 0;
            sector.sweepAngle = 360;
        } else {
            sector.sweepAngle = sweepOf(unit.level);
            sector.startAngle = 90 + m_options.fanSweep / 2 - static_cast<double>(m_slot[u] + 1) * sector.sweepAngle;
        }
        box.rect = level == 0 ? ChartRect{-sector.outerRadius, -sector.outerRadius, 2 * sector.outerRadius,
                                          2 * sector.outerRadius}
                              : boundsOf(sector);
        placeTexts(box, m_lines[index], level);
    }

    // How long a line centred at `centre` (from the fan's centre) may be: a
    // radial line the ring's depth; one along the arc or in the disc as far
    // as its corners stay inside the sector.
    double roomFor(const ChartSector& sector, bool radial, ChartPoint centre, double height) const {
        const double distance = std::hypot(centre.x, centre.y);
        double length = sector.outerRadius - sector.innerRadius;
        if (!radial) {
            const double outer = sector.outerRadius * sector.outerRadius - std::pow(distance + height / 2, 2);
            length = 2 * std::sqrt(std::max(outer, 0.0));
            if (sector.sweepAngle < 360) {
                const double half = std::min(sector.sweepAngle, 180.0) * kDegree / 2;
                length = std::min(length, 2 * std::max(distance - height / 2, 0.0) * std::sin(half));
            }
        }
        return std::max(length - 2 * m_options.boxPadding, 0.0);
    }

    void placeTexts(ChartBox& box, std::vector<BoxLine>& lines, std::size_t level) {
        const ChartSector& sector = box.sector;
        const double middle = level == 0 ? 0 : (sector.innerRadius + sector.outerRadius) / 2;
        const double angle = sector.startAngle + sector.sweepAngle / 2;
        double rotation = 0;
        if (level == 0) {
            fitAcross(lines, m_measure, 2 * sector.outerRadius);
        } else if (m_radial[level]) {
            fitAcross(lines, m_measure, middle * sector.sweepAngle * kDegree);
            rotation = std::cos(angle * kDegree) < 0 ? 180 - angle : -angle;
        } else {
            fitAcross(lines, m_measure, sector.outerRadius - sector.innerRadius);
            rotation = std::sin(angle * kDegree) < 0 ? 270 - angle : 90 - angle;
        }
        const ChartPoint anchor = onCircle(middle, angle);
        const double turn = rotation * kDegree;
        const ChartPoint down{-std::sin(turn), std::cos(turn)};
        double offset = -linesHeight(lines, m_measure) / 2;
        box.textBegin = static_cast<std::uint32_t>(m_layout.texts.size());
        box.textCount = static_cast<std::uint32_t>(lines.size());
        for (BoxLine& line : lines) {
            const double height = m_measure.lineHeight(line.font);
            const double shift = offset + height / 2;
            const ChartPoint centre{anchor.x + shift * down.x, anchor.y + shift * down.y};
            const double room = roomFor(sector, m_radial[level], centre, height);
            if (line.width > room) {
                line.text = Elided(m_measure, line.font, line.text, room);
                line.width = m_measure.textWidth(line.font, line.text);
            }
            m_layout.texts.push_back({std::move(line.text), line.font, centre, line.width, rotation});
            offset += height;
        }
    }

    const ChartTree& m_tree;
    const ChartOptions& m_options;
    const ChartMeasure& m_measure;
    ChartLayout& m_layout;
    double m_textWidth;
    BoxStyle m_style;
    std::vector<std::vector<BoxLine>> m_lines;
    std::vector<std::uint64_t> m_slot;
    std::vector<double> m_outer; // the outer radius of each ring, the disc's first
    std::vector<bool> m_radial;
};

} // namespace

ChartLayout LayoutFan(const CStirpexDoc& doc, const CPerson& person, const ChartOptions& options,
                      const ChartMeasure& measure) {
    const ChartTree tree = WalkAncestors(doc, person, options.generations, options);
    ChartLayout layout;
    layout.kind = ChartKind::Fan;
    layout.cut = tree.cut;
    layout.ancestorGenerations = std::max(tree.levels - 1, 0);
    Fan(tree, options, measure, layout).run();
    FitToOrigin(layout, options.margin);
    return layout;
}

} // namespace stirpex::detail
