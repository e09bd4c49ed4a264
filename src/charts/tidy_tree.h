#pragma once

// Places the nodes of a tree along their generations, in the manner of a tidy
// tree drawing: no two nodes of one generation closer than `gap`, siblings in
// their order, and each parent centred over its children. Every subtree keeps
// its left and right outline per generation; two neighbours are pushed apart
// just enough that their outlines keep the gap at every generation they share.
// An outline grows by taking over the deeper of the two and writing the
// shallower one's generations into it, so each generation is written once per
// merge of the shallower side and the whole placement is linear in the nodes.
//
// A person with several families stands as several nodes side by side: the
// first holds the person, and each node joined to it one more partner, so
// that every family's children can be centred under their own couple. A
// joined node keeps `joinGap` from the node before it (more when the children
// of both need it), and its parent centres over the first nodes of its
// children's units only.

#include <cstdint>
#include <vector>

namespace stirpex::detail {

// Along a generation (the breadth), from the node's leading edge.
struct TidyNode {
    std::int32_t childBegin = 0; // children are nodes [childBegin, childEnd), one generation further
    std::int32_t childEnd = 0;
    double breadth = 0;
    double up = 0;       // where the line from the parent meets the node
    double down = 0;     // the point its children are centred under; may lie outside the node
    bool joined = false; // one more part of the node before it, in the same generation
};

// The leading edge of each node, the first node's at 0. Nodes are
// breadth-first: every node's children come after it, together. The first
// node's joined nodes follow it, before any child.
std::vector<double> TidyPositions(const std::vector<TidyNode>& nodes, double gap, double joinGap);

} // namespace stirpex::detail
