#pragma once

// The four lineage walks and the logic of the tree dialog around them: which
// walk a tree kind runs, the title, the "Include spouses" check box, the
// partner toggle and what choosing a node does. The dialog owns one of these
// for one showing, over the in-memory tree its view reads.
//
// The walks are depth-first and insert every node in pre-order: a person, then
// (descendants) each spouse family in file order with its partner node and its
// children in file order, or (ancestors) the father's line before the mother's.
// Each node is expanded as soon as its subtree is complete. They run on an
// explicit stack, so a line of a million generations builds as well as a short
// one, and they end on any input:
//   - a person about to be inserted for their own sake who already stands on
//     the path from the walk's first node down to the would-be parent (as a
//     person or as a partner) is left out with everything below; partner nodes
//     are always inserted, since a partner may stand on the path (one married
//     into their own line, or a family that names one person as both
//     partners) and the family's children must still show;
//   - a build stops inserting at kMaxTreeNodes nodes, or once the labels
//     together would pass kMaxTreeLabelBytes, or after kMaxTreeSteps looks at
//     relatives, whichever comes first. The tree is then marked cut and keeps
//     the first nodes in insertion order; the nodes left open are still
//     expanded, and the line walks still select.

#include "trees/tree_nodes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

class CFamily;
class CPerson;
class CStirpexDoc;
class MessageSink;

inline constexpr std::int32_t kMaxTreeNodes = 1000000;
inline constexpr std::size_t kMaxTreeLabelBytes = std::size_t{256} << 20;
inline constexpr std::int64_t kMaxTreeSteps = std::int64_t{32} * kMaxTreeNodes;

struct TreeLimits {
    std::int32_t maxNodes = kMaxTreeNodes;
    std::size_t maxLabelBytes = kMaxTreeLabelBytes;
    std::int64_t maxSteps = kMaxTreeSteps;
};

// "Ancestors of ", "Descendants of ", ...; empty for a kind that is none of the four.
std::string_view TreeTitlePrefix(int treeKind);

class TreeWalks {
public:
    // `messages` receives "SetItemImage failed"; it may be null.
    TreeWalks(const CStirpexDoc& doc, TreeNodes& nodes, MessageSink* messages = nullptr);
    TreeWalks(const TreeWalks&) = delete;
    TreeWalks& operator=(const TreeWalks&) = delete;

    // The dialog opens on `current` (not null): partners shown, nothing to
    // select, the tree emptied and built for the kind. Another kind builds nothing.
    void Open(const CPerson* current, int treeKind);
    // The prefix of the kind and FormatName(0) of the current person; empty for another kind.
    std::string Title() const;
    bool SpousesChecked() const noexcept { return m_bIncludeSpouses; }
    bool SpousesEnabled() const noexcept { return m_nTreeKind == TREE_DESCENDANTS; }
    // The check box was clicked: partners flip, the tree is rebuilt from the current person.
    void OnIncludeSpouses();
    // The person the page shows after a choice of a node with this person
    // index (-1 for an "Unknown partner" node or no node at all): that person,
    // or the current one when the index names nobody. The dialog closes with
    // OK in both cases.
    const CPerson* Choose(std::int32_t personIndex) const;

    // The walks, each from one person down (or up) into `parent`, kTreeRoot
    // for the top level. The path that the loop rule looks at starts at the
    // node the call inserts.
    void AddDescendants(const CPerson* person, TreeItem parent);
    void AddPartnerBranch(const CPerson* partner, const CFamily* family, TreeItem node);
    // Numbers from `number` (1 for the person the tree is for) upwards; throws
    // std::invalid_argument for a negative number.
    void AddAncestors(const CPerson* person, std::int32_t number, TreeItem parent);
    void AddMtDnaLine(const CPerson* person, TreeItem parent);
    void AddYLine(const CPerson* person, TreeItem parent);

    void setLimits(const TreeLimits& limits) noexcept { m_limits = limits; }
    bool cut() const noexcept { return m_cut; }
    std::int32_t nodeCount() const noexcept { return m_nodeCount; }

    const CPerson* m_pPerson = nullptr; // the page's current person; read, never changed
    int m_nTreeKind = 0;
    bool m_bIncludeSpouses = true;
    TreeItem m_hSelectItem = kNoTreeItem;

private:
    struct DescentFrame;
    struct LineFrame;

    void startBuild();
    void build();
    // One more look at a relative; false (and the tree cut) once the budget is spent.
    bool step();
    // Inserts unless a limit is reached; kNoTreeItem (and the tree cut) otherwise.
    TreeItem insertNode(TreeItem parent, std::string text);
    void cutHere();
    void setSexImage(TreeItem item, const CPerson& person);
    TreeItem insertPartner(const CPerson* partner, TreeItem node);

    // The loop rule: how often each person stands on the current path.
    bool onPath(const CPerson* person) const;
    void enterPath(const CPerson* person);
    void leavePath(const CPerson* person);

    template <typename Walk> void walkWithPath(Walk walk);

    void runDescent(std::vector<DescentFrame>& stack);
    bool pushPerson(std::vector<DescentFrame>& stack, const CPerson* person, TreeItem parent);
    bool beginBranch(DescentFrame& frame, const CPerson* partner, const CFamily* family);
    void endBranch(DescentFrame& frame);
    void runLine(const CPerson* person, TreeItem parent, bool yLine);
    void afterLineNode(TreeItem item);

    const CStirpexDoc& m_doc;
    TreeNodes& m_nodes;
    MessageSink* m_messages;
    TreeLimits m_limits;
    std::int32_t m_nodeCount = 0;
    std::size_t m_labelBytes = 0;
    std::int64_t m_steps = 0;
    bool m_cut = false;
    std::vector<std::uint32_t> m_onPath; // by m_nIndex
};

} // namespace stirpex
