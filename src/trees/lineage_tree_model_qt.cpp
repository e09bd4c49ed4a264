#include "trees/lineage_tree_model_qt.h"

#include "model/text_direction.h"

#include <QString>
#include <QTreeView>

#include <vector>

namespace stirpex {

LineageTreeModel::LineageTreeModel(const LineageTree& tree, const std::array<QIcon, 3>& icons, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree), m_icons(icons) {}

QModelIndex LineageTreeModel::IndexOf(TreeItem item) const {
    if (item < 0 || item >= m_tree.size()) {
        return {};
    }
    return createIndex(m_tree.rowOf(item), 0, static_cast<quintptr>(item));
}

TreeItem LineageTreeModel::ItemOf(const QModelIndex& index) const noexcept {
    return index.isValid() ? static_cast<TreeItem>(index.internalId()) : kNoTreeItem;
}

QModelIndex LineageTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || (parent.isValid() && parent.column() != 0)) {
        return {};
    }
    const TreeItem under = parent.isValid() ? ItemOf(parent) : kTreeRoot;
    if (row < 0 || row >= m_tree.childCount(under)) {
        return {};
    }
    return createIndex(row, 0, static_cast<quintptr>(m_tree.childAt(under, row)));
}

QModelIndex LineageTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    return IndexOf(m_tree.parentOf(ItemOf(child)));
}

int LineageTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return m_tree.topLevelCount();
    }
    return parent.column() == 0 ? m_tree.childCount(ItemOf(parent)) : 0;
}

int LineageTreeModel::columnCount(const QModelIndex& /*parent*/) const {
    return 1;
}

QVariant LineageTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const TreeItem item = ItemOf(index);
    switch (role) {
    case Qt::DisplayRole: {
        const std::string text = IsolateRightToLeft(m_tree.text(item));
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    case Qt::DecorationRole: {
        const QIcon& icon = m_icons.at(static_cast<std::size_t>(m_tree.image(item)));
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case PersonRole:
        return m_tree.person(item);
    default:
        return {};
    }
}

Qt::ItemFlags LineageTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    // The tree only changes through a reset: a view need not keep expansion state for its leaves.
    const Qt::ItemFlags leaf = m_tree.childCount(ItemOf(index)) == 0 ? Qt::ItemNeverHasChildren : Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | leaf;
}

// Right after a reset the view only notes which nodes are to be open and lays
// all rows out in one pass when it is next shown or scrolled, which for a
// million nodes is several times faster than QTreeView::expandAll. That pass
// recurses once per open level, so the deepest levels stay closed: a line of
// tens of thousands of generations would otherwise exhaust the stack.
void OpenTree(QTreeView& view, const LineageTreeModel& model) {
    const LineageTree& tree = model.Tree();
    std::vector<std::int32_t> depth(static_cast<std::size_t>(tree.size()));
    for (TreeItem item = 0; item < tree.size(); ++item) {
        // A node is always inserted after its parent, whose depth is therefore known.
        const TreeItem parent = tree.parentOf(item);
        const std::int32_t level = parent == kTreeRoot ? 0 : depth[static_cast<std::size_t>(parent)] + 1;
        depth[static_cast<std::size_t>(item)] = level;
        if (level < kMaxOpenDepth && tree.expanded(item) && tree.childCount(item) > 0) {
            view.expand(model.IndexOf(item));
        }
    }
}

std::int32_t DepthOf(const LineageTree& tree, TreeItem item) {
    std::int32_t depth = 0;
    for (TreeItem parent = tree.parentOf(item); parent != kTreeRoot; parent = tree.parentOf(parent)) {
        ++depth;
    }
    return depth;
}

} // namespace stirpex
