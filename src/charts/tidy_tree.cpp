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

// How far `next` must move to keep the gap from everything of `placed` in the generations both reach.
double separation(const Outline& placed, const Outline& next, double gap) {
    double needed = -std::numeric_limits<double>::infinity();
    const std::size_t shared = std::min(placed.depth(), next.depth());
    for (std::size_t g = 0; g < shared; ++g) {
        needed = std::max(needed, placed.rightAt(g) + gap - next.leftAt(g));
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

} // namespace

std::vector<double> TidyPositions(const std::vector<TidyNode>& nodes, double gap) {
    const std::size_t n = nodes.size();
    std::vector<double> relative(n, 0); // leading edge from the parent's leading edge
    std::vector<Outline> outlines(n);
    for (std::size_t i = n; i-- > 0;) {
        const TidyNode& node = nodes[i];
        Outline outline;
        if (node.childBegin < node.childEnd) {
            const auto first = static_cast<std::size_t>(node.childBegin);
            const auto last = static_cast<std::size_t>(node.childEnd) - 1;
            outline = std::move(outlines[first]);
            relative[first] = 0;
            for (std::size_t c = first + 1; c <= last; ++c) {
                Outline next = std::move(outlines[c]);
                relative[c] = separation(outline, next, gap);
                next.shift += relative[c];
                outline = merged(std::move(outline), std::move(next));
            }
            const double centre = (relative[first] + nodes[first].up + relative[last] + nodes[last].up) / 2;
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
    for (std::size_t i = 0; i < n; ++i) {
        for (std::int32_t c = nodes[i].childBegin; c < nodes[i].childEnd; ++c) {
            lead[static_cast<std::size_t>(c)] = lead[i] + relative[static_cast<std::size_t>(c)];
        }
    }
    return lead;
}

} // namespace stirpex::detail
