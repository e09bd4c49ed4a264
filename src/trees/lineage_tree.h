#pragma once

// The plain in-memory lineage tree: what a walk built, read by the tree
// dialog's item model and by stirpex-cli. A tree of a million nodes stays
// compact (one record per node, two integer arrays for the index) and every
// read a model makes is O(1): children are kept in insertion order, which is
// their order under their parent, so an index of each node's children is laid
// out once, the first time a child is asked for by row after a build.

#include "trees/tree_nodes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace stirpex {

// "The tree is too large: only the first N entries are shown."
std::string TreeTooLargeMessage(std::int64_t keptNodes);

class LineageTree final : public TreeNodes {
public:
    LineageTree() = default;
    LineageTree(const LineageTree&) = delete;
    LineageTree& operator=(const LineageTree&) = delete;
    LineageTree(LineageTree&&) noexcept = default;
    LineageTree& operator=(LineageTree&&) noexcept = default;

    TreeItem insert(TreeItem parent, std::string text) override;
    bool setImage(TreeItem item, int image) override;
    void setPerson(TreeItem item, std::int32_t person) override;
    void expand(TreeItem item) override;
    // Only recorded: the walks leave every node expanded, so the view just
    // scrolls to this node once the build is over.
    void ensureVisible(TreeItem item) override;
    void select(TreeItem item) override;
    void deleteAll() override;
    void markCut() override { m_cut = true; }

    // Reading. An item outside the tree throws std::out_of_range; kTreeRoot
    // stands for the invisible root where a parent is asked for.
    std::int32_t size() const noexcept { return static_cast<std::int32_t>(m_nodes.size()); }
    std::int32_t topLevelCount() const noexcept { return m_topLevelCount; }
    std::int32_t childCount(TreeItem parent) const;
    TreeItem childAt(TreeItem parent, std::int32_t row) const;
    TreeItem parentOf(TreeItem item) const { return node(item).parent; }
    std::int32_t rowOf(TreeItem item) const { return node(item).row; }
    const std::string& text(TreeItem item) const { return node(item).text; }
    int image(TreeItem item) const { return node(item).image; }
    std::int32_t person(TreeItem item) const { return node(item).person; }
    bool expanded(TreeItem item) const { return node(item).expanded; }

    TreeItem selected() const noexcept { return m_selected; }
    TreeItem visibleItem() const noexcept { return m_visible; }
    // The person index of the selected node; -1 when nothing is selected.
    std::int32_t selectedPerson() const;

    bool cut() const noexcept { return m_cut; }
    // The text the dialog shows once after a cut build; empty when nothing was cut.
    std::string cutMessage() const;

private:
    struct Node {
        std::string text;
        TreeItem parent = kTreeRoot;
        std::int32_t row = 0;
        std::int32_t childCount = 0;
        std::int32_t person = -1;
        std::uint8_t image = IMAGE_PARTNER;
        bool expanded = false;
    };

    Node& node(TreeItem item);
    const Node& node(TreeItem item) const;
    void buildIndex() const;

    std::vector<Node> m_nodes;
    std::int32_t m_topLevelCount = 0;
    TreeItem m_selected = kNoTreeItem;
    TreeItem m_visible = kNoTreeItem;
    bool m_cut = false;

    // The children of the root, then those of node 0, node 1, ...; each node's
    // run starts at m_childStart[item]. Laid out after the last insert.
    mutable std::vector<TreeItem> m_children;
    mutable std::vector<std::int32_t> m_childStart;
    mutable bool m_indexed = true;
};

// Depth-first over the tree without recursion: `visit(item, depth)` before an
// item's children, `leave(item)` after them.
template <typename Visit, typename Leave> void WalkTree(const LineageTree& tree, Visit visit, Leave leave) {
    struct Open {
        TreeItem item;
        std::int32_t nextRow;
    };
    std::vector<Open> stack{{kTreeRoot, 0}};
    while (!stack.empty()) {
        Open& top = stack.back();
        if (top.nextRow < tree.childCount(top.item)) {
            const TreeItem child = tree.childAt(top.item, top.nextRow++);
            visit(child, stack.size() - 1);
            stack.push_back({child, 0});
            continue;
        }
        if (top.item != kTreeRoot) {
            leave(top.item);
        }
        stack.pop_back();
    }
}

} // namespace stirpex
