#include "charts/tidy_tree.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace stirpex::detail {

namespace {

// The outline of a subtree, relative to its root's leading edge: per
// generation below the root, the least and the greatest breadth taken.
// Stored deepest generation first, so that a parent adds its own generation
// at the end; every stored value is taken with `shift` added.
struct Outline {
    std::vector<double> left;
    std::vector<double> right;
    double shift = 0;

    std::size_t depth() const noexcept { return left.size(); }
    std::size_t at(std::size_t generation) const noexcept { return left.size() - 1 - generation; }
    double leftAt(std::size_t generation) const noexcept { return left[at(generation)] + shift; }
    double rightAt(std::size_t generation) const noexcept { return right[at(generation)] + shift; }
};

// How far `next` must move to keep the gap from everything of `placed` in
// the generations both reach; `firstGap` on the generation of the two roots.
double separation(const Outline& placed, const Outline& next, double firstGap, double gap) {
    double needed = -std::numeric_limits<double>::infinity();
    const std::size_t shared = std::min(placed.depth(), next.depth());
    for (std::size_t g = 0; g < shared; ++g) {
        needed = std::max(needed, placed.rightAt(g) + (g == 0 ? firstGap : gap) - next.leftAt(g));
    }
    return needed;
}

// The outline of `placed` and `next` side by side; `next` already moved.
Outline merged(Outline placed, Outline next) {
    if (next.depth() >= placed.depth()) {
        for (std::size_t g = 0; g < placed.depth(); ++g) {
            next.left[next.at(g)] = placed.leftAt(g) - next.shift;
        }
        return next;
    }
    for (std::size_t g = 0; g < next.depth(); ++g) {
        placed.right[placed.at(g)] = next.rightAt(g) - placed.shift;
    }
    return placed;
}

// Nodes [first, last] side by side, each as close to the one before as the
// outlines allow: their places from the first's leading edge into `relative`,
// the outline of the whole row returned.
Outline row(const std::vector<TidyNode>& nodes, std::vector<Outline>& outlines, std::size_t first, std::size_t last,
            double gap, double joinGap, std::vector<double>& relative) {
    Outline outline = std::move(outlines[first]);
    relative[first] = 0;
    for (std::size_t c = first + 1; c <= last; ++c) {
        Outline next = std::move(outlines[c]);
        relative[c] = separation(outline, next, nodes[c].joined ? joinGap : gap, gap);
        next.shift += relative[c];
        outline = merged(std::move(outline), std::move(next));
    }
    return outline;
}

} // namespace

std::vector<double> TidyPositions(const std::vector<TidyNode>& nodes, double gap, double joinGap) {
    const std::size_t n = nodes.size();
    std::vector<double> relative(n, 0); // leading edge from the parent's leading edge
    std::vector<Outline> outlines(n);
    for (std::size_t i = n; i-- > 0;) {
        const TidyNode& node = nodes[i];
        Outline outline;
        if (node.childBegin < node.childEnd) {
            const auto first = static_cast<std::size_t>(node.childBegin);
            const auto last = static_cast<std::size_t>(node.childEnd) - 1;
            outline = row(nodes, outlines, first, last, gap, joinGap, relative);
            std::size_t lastUnit = last;
            while (lastUnit > first && nodes[lastUnit].joined) {
                --lastUnit;
            }
            const double centre = (relative[first] + nodes[first].up + relative[lastUnit] + nodes[lastUnit].up) / 2;
            const double move = node.down - centre;
            for (std::size_t c = first; c <= last; ++c) {
                relative[c] += move;
            }
            outline.shift += move;
        }
        outline.left.push_back(-outline.shift);
        outline.right.push_back(node.breadth - outline.shift);
        outlines[i] = std::move(outline);
    }
    std::vector<double> lead(n, 0);
    if (n == 0) {
        return lead;
    }
    // The first node and those joined to it are placed as a row of their own.
    std::size_t roots = 1;
    while (roots < n && nodes[roots].joined) {
        ++roots;
    }
    row(nodes, outlines, 0, roots - 1, gap, joinGap, relative);
    for (std::size_t r = 0; r < roots; ++r) {
        lead[r] = relative[r];
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (std::int32_t c = nodes[i].childBegin; c < nodes[i].childEnd; ++c) {
            lead[static_cast<std::size_t>(c)] = lead[i] + relative[static_cast<std::size_t>(c)];
        }
    }
    return lead;
}

} // namespace stirpex::detail
