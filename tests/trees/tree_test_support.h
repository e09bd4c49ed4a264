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
    struct Open {
        TreeItem item;
        std::int32_t nextRow;
    };
    std::vector<Open> stack{{kTreeRoot, 0}};
    while (!stack.empty()) {
        Open& top = stack.back();
        if (top.nextRow >= tree.childCount(top.item)) {
            stack.pop_back();
            continue;
        }
        const TreeItem item = tree.childAt(top.item, top.nextRow++);
        out.append(2 * (stack.size() - 1), ' ');
        out +=
            std::to_string(tree.image(item)) + " " + tree.text(item) + " #" + std::to_string(tree.person(item)) + "\n";
        stack.push_back({item, 0});
    }
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
