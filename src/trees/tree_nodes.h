#pragma once

// The six node operations the lineage walks build a tree with, and the names
// shared by the walks, the in-memory tree and the dialog. The walks never read
// a tree back: they only add to it, so the same walk fills the plain
// in-memory tree and, in tests, a tree that refuses what a real control might.

#include <cstdint>
#include <string>

namespace stirpex {

inline constexpr int TREE_ANCESTORS = 1;
inline constexpr int TREE_DESCENDANTS = 2;
inline constexpr int TREE_MTDNA = 3;
inline constexpr int TREE_YCHROMOSOME = 4;

inline constexpr int IMAGE_PARTNER = 0;
inline constexpr int IMAGE_MALE = 1;
inline constexpr int IMAGE_FEMALE = 2;

// A node is known by its position in insertion order, 0 for the first.
using TreeItem = std::int32_t;
inline constexpr TreeItem kTreeRoot = -1;   // the parent of the top-level nodes; not a node itself
inline constexpr TreeItem kNoTreeItem = -2; // no node: nothing selected, nothing to show

class TreeNodes {
public:
    virtual ~TreeNodes() = default;

    // Appends a node with this text as the last child of `parent` (kTreeRoot for a top-level node).
    virtual TreeItem insert(TreeItem parent, std::string text) = 0;
    // Normal and selected image at once; false when the image was refused.
    virtual bool setImage(TreeItem item, int image) = 0;
    // The m_nIndex of the person the node stands for, -1 for a partner not on record.
    virtual void setPerson(TreeItem item, std::int32_t person) = 0;
    virtual void expand(TreeItem item) = 0;
    virtual void ensureVisible(TreeItem item) = 0;
    virtual void select(TreeItem item) = 0;
    virtual void deleteAll() = 0;
    // The walk stopped inserting: the tree holds the first nodes of a larger one.
    virtual void markCut() = 0;
};

} // namespace stirpex
