// The four lineage trees as the tree dialog builds them, for several persons
// of the document: each tree read back whole and checked against the
// document (every node a relative of the node above it, no one twice on a
// line, the line trees' sexes, the selection), the partners toggled off and on
// again, a choice of every node, and one build under small limits so that
// cutting a tree is exercised too.

#include "fuzz_input.h"
#include "model/shown_text.h"
#include "trees/lineage_tree.h"
#include "trees/tree_walks.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace stirpex;
using fuzz::Require;

constexpr int kMaxPersons = 12; // persons whose trees are built per input
// Far below the dialog's limits, which a lattice of a few hundred persons
// can reach, and far above what most inputs build.
constexpr TreeLimits kFuzzLimits{4096, std::size_t{1} << 20, 65536};

struct TreeRun {
    const CStirpexDoc& doc;
    const CPerson& current;
    const LineageTree& tree;
    const TreeWalks& walks;

    const CPerson* personOf(TreeItem item) const {
        const std::int32_t index = tree.person(item);
        return index >= 0 ? doc.m_ppPersons[static_cast<std::size_t>(index)].get() : nullptr;
    }
    // Descendants trees with partners put them on every second level.
    bool isPartner(std::size_t depth) const {
        return walks.m_nTreeKind == TREE_DESCENDANTS && walks.m_bIncludeSpouses && depth % 2 == 1;
    }
    bool isChildOf(const CPerson& child, const CPerson& parent) const {
        for (const ArenaStr& key : parent.m_arrSpouseFamilies) {
            const CFamily* family = doc.FindFamily(key.view());
            for (int i = 0; family != nullptr && i < family->m_nChildren; ++i) {
                if (doc.GetChild(family, i) == &child) {
                    return true;
                }
            }
        }
        return false;
    }
    void checkBelow(const CPerson* parent, const CPerson* person) const;
    void check() const;
};

// What a node may be under the node above it, for each kind.
void TreeRun::checkBelow(const CPerson* parent, const CPerson* person) const {
    Require(person != nullptr, "a node of a lineage stands for a person on record");
    switch (walks.m_nTreeKind) {
    case TREE_ANCESTORS:
        Require(parent == nullptr ? person == &current
                                  : person == doc.GetFather(parent) || person == doc.GetMother(parent),
                "an ancestor's node is a parent of the node above it");
        break;
    case TREE_YCHROMOSOME:
        Require(person->m_cSex == U'M', "the Y chromosome tree lists men only");
        [[fallthrough]];
    case TREE_MTDNA:
        Require(parent == nullptr || isChildOf(*person, *parent), "a line's node is a child of the node above it");
        Require(parent == nullptr || walks.m_nTreeKind == TREE_YCHROMOSOME || parent->m_cSex == U'F',
                "the mitochondrial line follows women only");
        break;
    default:
        Require(parent == nullptr ? person == &current : isChildOf(*person, *parent),
                "a descendant's node is a child of the person node above it");
        break;
    }
}

void TreeRun::check() const {
    Require(tree.size() == walks.nodeCount() && tree.cut() == walks.cut(), "the tree holds what the walk inserted");
    Require(tree.cut() == !tree.cutMessage().empty(), "a cut tree says so, a whole one does not");
    const std::string_view prefix = TreeTitlePrefix(walks.m_nTreeKind);
    // A name longer than any screen shows is cut in the title as everywhere.
    Require(walks.Title() == (prefix.empty() ? std::string() : std::string(prefix) + ShownText(current.FormatName(0))),
            "the title names the kind and the person");
    Require(!prefix.empty() || tree.size() == 0, "a kind that is none of the four builds nothing");

    std::vector<int> onPath(static_cast<std::size_t>(doc.m_nPersons));
    std::vector<const CPerson*> path; // the person of each node above, null for an unknown partner
    std::int32_t visited = 0;
    WalkTree(
        tree,
        [&](TreeItem item, std::size_t depth) {
            ++visited;
            Require(tree.expanded(item), "every node of a built tree is expanded");
            Require(tree.person(item) >= -1 && tree.person(item) < doc.m_nPersons, "a node names a person or none");
            Require(walks.Choose(tree.person(item)) == (tree.person(item) >= 0 ? personOf(item) : &current),
                    "choosing a node shows its person or keeps the current one");
            const CPerson* person = personOf(item);
            if (!isPartner(depth)) {
                // The parent of a person node is the nearest person node above it.
                const CPerson* parent = depth == 0 ? nullptr : path[isPartner(depth - 1) ? depth - 2 : depth - 1];
                checkBelow(parent, person);
                Require(onPath[static_cast<std::size_t>(person->m_nIndex)] == 0, "no one stands twice on a line");
            }
            if (person != nullptr) {
                ++onPath[static_cast<std::size_t>(person->m_nIndex)];
            }
            path.push_back(person);
        },
        [&](TreeItem) {
            if (path.back() != nullptr) {
                --onPath[static_cast<std::size_t>(path.back()->m_nIndex)];
            }
            path.pop_back();
        });
    Require(visited == tree.size(), "every node is reachable from the top");

    const bool line = walks.m_nTreeKind == TREE_MTDNA || walks.m_nTreeKind == TREE_YCHROMOSOME;
    Require(tree.selected() == walks.m_hSelectItem, "the tree selects the walk's choice");
    Require(line || tree.selected() == kNoTreeItem, "only the line trees select a node");
    Require(tree.selectedPerson() == (tree.selected() == kNoTreeItem ? -1 : current.m_nIndex),
            "the selected node is the current person");
    Require(tree.selected() == kNoTreeItem || tree.visibleItem() == tree.selected(),
            "the view scrolls to the selected node");
}

void buildAll(const CStirpexDoc& doc, const CPerson& person) {
    LineageTree tree;
    TreeWalks walks(doc, tree);
    walks.setLimits(kFuzzLimits);
    const TreeRun run{doc, person, tree, walks};
    for (const int kind : {TREE_ANCESTORS, TREE_DESCENDANTS, TREE_MTDNA, TREE_YCHROMOSOME, 0, 5}) {
        walks.Open(&person, kind);
        run.check();
        if (kind != TREE_DESCENDANTS) {
            continue;
        }
        const std::int32_t withPartners = tree.size();
        walks.OnIncludeSpouses();
        Require(!walks.SpousesChecked(), "the check box turns partners off");
        run.check();
        walks.OnIncludeSpouses();
        Require(walks.SpousesChecked() && tree.size() == withPartners, "partners on again rebuild the same tree");
        run.check();
    }
}

void buildCut(const CStirpexDoc& doc, const CPerson& person, fuzz::Choices& choices) {
    LineageTree tree;
    TreeWalks walks(doc, tree);
    const TreeLimits limits{choices.pick<std::int32_t>(1, 64), choices.pick<std::size_t>(1, 4096),
                            choices.pick<std::int64_t>(1, 256)};
    walks.setLimits(limits);
    walks.Open(&person, choices.pick(TREE_ANCESTORS, TREE_YCHROMOSOME));
    TreeRun{doc, person, tree, walks}.check();
    Require(tree.size() <= limits.maxNodes, "a build stops at its node limit");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Choices choices({data, size});
    const auto doc = fuzz::LoadDocument({data, size});
    fuzz::ForSomePersons(*doc, choices, kMaxPersons, [&](const CPerson& person) { buildAll(*doc, person); });
    fuzz::ForSomePersons(*doc, choices, 1, [&](const CPerson& person) { buildCut(*doc, person, choices); });
    return 0;
}
