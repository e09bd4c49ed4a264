#include "trees/lineage_tree.h"

#include <stdexcept>

namespace stirpex {

std::string TreeTooLargeMessage(std::int64_t keptNodes) {
    return "The tree is too large: only the first " + std::to_string(keptNodes) + " entries are shown.";
}

LineageTree::Node& LineageTree::node(TreeItem item) {
    if (item < 0 || item >= size()) {
        throw std::out_of_range("no tree node " + std::to_string(item));
    }
    return m_nodes[static_cast<std::size_t>(item)];
}

const LineageTree::Node& LineageTree::node(TreeItem item) const {
    if (item < 0 || item >= size()) {
        throw std::out_of_range("no tree node " + std::to_string(item));
    }
    return m_nodes[static_cast<std::size_t>(item)];
}

TreeItem LineageTree::insert(TreeItem parent, std::string text) {
    // Counted before the append, which may move the parent's record.
    std::int32_t& siblings = parent == kTreeRoot ? m_topLevelCount : node(parent).childCount;
    Node added;
    added.text = std::move(text);
    added.parent = parent;
    added.row = siblings++;
    m_nodes.push_back(std::move(added));
    m_indexed = false;
    return size() - 1;
}

bool LineageTree::setImage(TreeItem item, int image) {
    if (image < IMAGE_PARTNER || image > IMAGE_FEMALE) {
        return false;
    }
    node(item).image = static_cast<std::uint8_t>(image);
    return true;
}

void LineageTree::setPerson(TreeItem item, std::int32_t person) {
    node(item).person = person;
}

void LineageTree::expand(TreeItem item) {
    node(item).expanded = true;
}

void LineageTree::ensureVisible(TreeItem item) {
    node(item);
    m_visible = item;
}

void LineageTree::select(TreeItem item) {
    node(item);
    m_selected = item;
}

void LineageTree::deleteAll() {
    m_nodes.clear();
    m_topLevelCount = 0;
    m_selected = kNoTreeItem;
    m_visible = kNoTreeItem;
    m_cut = false;
    m_children.clear();
    m_childStart.clear();
    m_indexed = true;
}

std::int32_t LineageTree::childCount(TreeItem parent) const {
    return parent == kTreeRoot ? m_topLevelCount : node(parent).childCount;
}

TreeItem LineageTree::childAt(TreeItem parent, std::int32_t row) const {
    if (row < 0 || row >= childCount(parent)) {
        throw std::out_of_range("no child " + std::to_string(row) + " under tree node " + std::to_string(parent));
    }
    if (!m_indexed) {
        buildIndex();
    }
    const std::int32_t start = parent == kTreeRoot ? 0 : m_childStart[static_cast<std::size_t>(parent)];
    return m_children[static_cast<std::size_t>(start) + static_cast<std::size_t>(row)];
}

// Every node is the child at its row of its parent: one pass places it.
void LineageTree::buildIndex() const {
    const std::size_t count = m_nodes.size();
    m_childStart.resize(count);
    std::int32_t next = m_topLevelCount;
    for (std::size_t i = 0; i < count; ++i) {
        m_childStart[i] = next;
        next += m_nodes[i].childCount;
    }
    m_children.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Node& n = m_nodes[i];
        const std::int32_t start = n.parent == kTreeRoot ? 0 : m_childStart[static_cast<std::size_t>(n.parent)];
        m_children[static_cast<std::size_t>(start) + static_cast<std::size_t>(n.row)] = static_cast<TreeItem>(i);
    }
    m_indexed = true;
}

std::int32_t LineageTree::selectedPerson() const {
    return m_selected == kNoTreeItem ? -1 : person(m_selected);
}

std::string LineageTree::cutMessage() const {
    return m_cut ? TreeTooLargeMessage(size()) : std::string();
}

} // namespace stirpex
