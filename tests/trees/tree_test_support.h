#pragma once

// Reading a built lineage tree back as text, one line per node in display
// order: two blanks per level, the image, the text and "#" with the person
// index. Comparing whole outlines checks order, nesting, images and persons
// at once.

#include "trees/lineage_tree.h"

#include <string>
#include <vector>

namespace stirpex::test {

inline std::string Outline(const LineageTree& tree) {
    std::string out;
    WalkTree(
        tree,
        [&](TreeItem item, std::size_t depth) {
            out.append(2 * depth, ' ');
            out += std::to_string(tree.image(item)) + " " + tree.text(item) + " #" + std::to_string(tree.person(item)) +
                   "\n";
        },
        [](TreeItem) {});
    return out;
}

// How many levels lie above the item: 0 for a top-level node.
inline int Depth(const LineageTree& tree, TreeItem item) {
    int depth = 0;
    for (item = tree.parentOf(item); item != kTreeRoot; item = tree.parentOf(item)) {
        ++depth;
    }
    return depth;
}

} // namespace stirpex::test
