#pragma once

// A built lineage tree as a one-column Qt item model. Nothing is copied: an
// index carries its node's number as internal id, and index, parent and
// rowCount are constant-time reads of the core tree, so a view can lay out a
// tree of a million nodes in one pass. Texts are converted only for the rows
// a view actually asks for.

#include "trees/lineage_tree.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <array>
#include <cstdint>

class QTreeView;

namespace stirpex {

class LineageTreeModel final : public QAbstractItemModel {
    Q_OBJECT

public:
    // The node's person index (-1 for an "Unknown partner" node), as an int.
    static constexpr int PersonRole = Qt::UserRole;

    // `icons` are the partner, male and female images in image order; a null
    // icon leaves the nodes of that image without one. The tree must outlive the model.
    LineageTreeModel(const LineageTree& tree, const std::array<QIcon, 3>& icons, QObject* parent = nullptr);

    // Every change of the tree goes through here, so that views drop the rows they hold.
    template <typename Change> void Rebuild(Change change) {
        beginResetModel();
        change();
        endResetModel();
    }

    const LineageTree& Tree() const noexcept { return m_tree; }
    QModelIndex IndexOf(TreeItem item) const;
    // kNoTreeItem for an invalid index.
    TreeItem ItemOf(const QModelIndex& index) const noexcept;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const LineageTree& m_tree;
    std::array<QIcon, 3> m_icons;
};

// Nodes this many levels below the top are left closed by OpenTree.
inline constexpr std::int32_t kMaxOpenDepth = 1000;

// Opens in `view` every node the build left expanded, down to kMaxOpenDepth
// levels; call it right after the view was given the model or the model was reset.
void OpenTree(QTreeView& view, const LineageTreeModel& model);
// How many levels below the top the node lies: 0 for a top-level node.
std::int32_t DepthOf(const LineageTree& tree, TreeItem item);

} // namespace stirpex
