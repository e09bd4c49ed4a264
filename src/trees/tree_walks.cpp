#include "trees/tree_walks.h"

#include "gedcom/load_sinks.h"
#include "model/stirpex_doc.h"
#include "model/shown_text.h"
#include "trees/ahnentafel_number.h"

#include <algorithm>
#include <stdexcept>

namespace stirpex {

namespace {

constexpr std::string_view kUnknownPartner = "Unknown partner";
constexpr std::string_view kImageFailed = "SetItemImage failed";

// A person's name as a node or the title shows it (model/shown_text.h).
std::string shownName(std::string name) {
    CutToShown(name);
    return name;
}

} // namespace

// A person's node in the descendants walk, and the spouse family being walked
// under it. A frame without a person stands for a branch walked on its own
// (AddPartnerBranch called directly).
struct TreeWalks::DescentFrame {
    const CPerson* person = nullptr;
    TreeItem node = kNoTreeItem;
    std::int32_t nextFamily = 0;
    bool inBranch = false;
    const CFamily* family = nullptr;
    const CPerson* partnerOnPath = nullptr;
    TreeItem under = kNoTreeItem;
    std::int32_t nextChild = 0;
};

// A person's node in a line walk (and, with `nextFamily` counting parents, in the ancestors walk).
struct TreeWalks::LineFrame {
    const CPerson* person = nullptr;
    TreeItem node = kNoTreeItem;
    std::int32_t nextFamily = 0;
    const CFamily* family = nullptr;
    std::int32_t nextChild = 0;
};

std::string_view TreeTitlePrefix(int treeKind) {
    switch (treeKind) {
    case TREE_ANCESTORS:
        return "Ancestors of ";
    case TREE_DESCENDANTS:
        return "Descendants of ";
    case TREE_MTDNA:
        return "Mitochondrial DNA of ";
    case TREE_YCHROMOSOME:
        return "Y Chromosome of ";
    default:
        return {};
    }
}

TreeWalks::TreeWalks(const CStirpexDoc& doc, TreeNodes& nodes, MessageSink* messages)
    : m_doc(doc), m_nodes(nodes), m_messages(messages) {}

void TreeWalks::Open(const CPerson* current, int treeKind) {
    m_pPerson = current;
    m_nTreeKind = treeKind;
    m_bIncludeSpouses = true;
    startBuild();
    build();
}

std::string TreeWalks::Title() const {
    const std::string_view prefix = TreeTitlePrefix(m_nTreeKind);
    if (prefix.empty() || m_pPerson == nullptr) {
        return {};
    }
    return std::string(prefix) + shownName(m_pPerson->FormatName(0));
}

void TreeWalks::OnIncludeSpouses() {
    m_bIncludeSpouses = !m_bIncludeSpouses;
    startBuild();
    AddDescendants(m_pPerson, kTreeRoot);
}

const CPerson* TreeWalks::Choose(std::int32_t personIndex) const {
    if (personIndex >= 0 && personIndex < m_doc.m_nPersons) {
        return m_doc.m_ppPersons[static_cast<std::size_t>(personIndex)].get();
    }
    return m_pPerson;
}

void TreeWalks::startBuild() {
    m_nodes.deleteAll();
    m_nodeCount = 0;
    m_labelBytes = 0;
    m_steps = 0;
    m_cut = false;
    m_hSelectItem = kNoTreeItem;
}

void TreeWalks::build() {
    switch (m_nTreeKind) {
    case TREE_ANCESTORS:
        return AddAncestors(m_pPerson, 1, kTreeRoot);
    case TREE_DESCENDANTS:
        return AddDescendants(m_pPerson, kTreeRoot);
    case TREE_MTDNA:
        return AddMtDnaLine(m_doc.GetFirstMaternalAncestor(m_pPerson), kTreeRoot);
    case TREE_YCHROMOSOME:
        return AddYLine(m_doc.GetFirstPaternalAncestor(m_pPerson), kTreeRoot);
    default:
        return;
    }
}

void TreeWalks::cutHere() {
    if (!m_cut) {
        m_cut = true;
        m_nodes.markCut();
    }
}

bool TreeWalks::step() {
    if (m_cut) {
        return false;
    }
    if (++m_steps > m_limits.maxSteps) {
        cutHere();
        return false;
    }
    return true;
}

TreeItem TreeWalks::insertNode(TreeItem parent, std::string text) {
    if (m_cut) {
        return kNoTreeItem;
    }
    if (m_nodeCount >= m_limits.maxNodes || text.size() > m_limits.maxLabelBytes - m_labelBytes) {
        cutHere();
        return kNoTreeItem;
    }
    m_labelBytes += text.size();
    ++m_nodeCount;
    return m_nodes.insert(parent, std::move(text));
}

void TreeWalks::setSexImage(TreeItem item, const CPerson& person) {
    m_nodes.setImage(item, person.m_cSex == 'M' ? IMAGE_MALE : IMAGE_FEMALE);
}

bool TreeWalks::onPath(const CPerson* person) const {
    const auto index = static_cast<std::size_t>(person->m_nIndex);
    return person->m_nIndex >= 0 && index < m_onPath.size() && m_onPath[index] != 0;
}

void TreeWalks::enterPath(const CPerson* person) {
    const auto index = static_cast<std::size_t>(person->m_nIndex);
    if (person->m_nIndex >= 0 && index < m_onPath.size()) {
        ++m_onPath[index];
    }
}

void TreeWalks::leavePath(const CPerson* person) {
    const auto index = static_cast<std::size_t>(person->m_nIndex);
    if (person->m_nIndex >= 0 && index < m_onPath.size()) {
        --m_onPath[index];
    }
}

// Runs one walk over a fresh path: every mark set is taken back as the walk
// unwinds, and all of them at once should the walk end in an exception.
template <typename Walk> void TreeWalks::walkWithPath(Walk walk) {
    if (m_onPath.size() < m_doc.m_ppPersons.size()) {
        m_onPath.resize(m_doc.m_ppPersons.size());
    }
    try {
        walk();
    } catch (...) {
        std::fill(m_onPath.begin(), m_onPath.end(), 0U);
        throw;
    }
}

// ---- Descendants ----

void TreeWalks::AddDescendants(const CPerson* person, TreeItem parent) {
    if (person == nullptr) {
        return;
    }
    walkWithPath([&] {
        std::vector<DescentFrame> stack;
        if (pushPerson(stack, person, parent)) {
            runDescent(stack);
        }
    });
}

void TreeWalks::AddPartnerBranch(const CPerson* partner, const CFamily* family, TreeItem node) {
    walkWithPath([&] {
        std::vector<DescentFrame> stack(1);
        stack.back().node = node;
        if (beginBranch(stack.back(), partner, family)) {
            runDescent(stack);
        }
    });
}

bool TreeWalks::pushPerson(std::vector<DescentFrame>& stack, const CPerson* person, TreeItem parent) {
    if (person == nullptr || onPath(person)) {
        return false;
    }
    const TreeItem item = insertNode(parent, shownName(person->GetDisplayName()));
    if (item == kNoTreeItem) {
        return false;
    }
    m_nodes.setPerson(item, person->m_nIndex);
    setSexImage(item, *person);
    enterPath(person);
    DescentFrame frame;
    frame.person = person;
    frame.node = item;
    stack.push_back(frame);
    return true;
}

TreeItem TreeWalks::insertPartner(const CPerson* partner, TreeItem node) {
    const TreeItem item =
        insertNode(node, partner ? shownName(partner->GetDisplayName()) : std::string(kUnknownPartner));
    if (item == kNoTreeItem) {
        return item;
    }
    m_nodes.setPerson(item, partner ? partner->m_nIndex : -1);
    if (!m_nodes.setImage(item, IMAGE_PARTNER) && m_messages != nullptr) {
        m_messages->Show(kImageFailed);
    }
    return item;
}

bool TreeWalks::beginBranch(DescentFrame& frame, const CPerson* partner, const CFamily* family) {
    TreeItem under = frame.node;
    frame.partnerOnPath = nullptr;
    if (m_bIncludeSpouses) {
        under = insertPartner(partner, frame.node);
        if (under == kNoTreeItem) {
            return false;
        }
        if (partner != nullptr) {
            enterPath(partner);
            frame.partnerOnPath = partner;
        }
    }
    frame.inBranch = true;
    frame.family = family;
    frame.under = under;
    frame.nextChild = 0;
    return true;
}

void TreeWalks::endBranch(DescentFrame& frame) {
    m_nodes.expand(frame.under);
    if (frame.partnerOnPath != nullptr) {
        leavePath(frame.partnerOnPath);
    }
    frame.inBranch = false;
}

void TreeWalks::runDescent(std::vector<DescentFrame>& stack) {
    while (!stack.empty()) {
        DescentFrame& top = stack.back();
        if (top.inBranch) {
            if (top.family != nullptr && top.nextChild < top.family->m_nChildren && step()) {
                const CPerson* child = m_doc.GetChild(top.family, top.nextChild++);
                pushPerson(stack, child, top.under); // `top` is not used after this
                continue;
            }
            endBranch(top);
            if (top.person == nullptr) {
                stack.pop_back();
            }
            continue;
        }
        if (top.nextFamily < top.person->m_nSpouseFamilies && step()) {
            const CFamily* family = m_doc.FindFamily(top.person->m_arrSpouseFamilies[top.nextFamily++].view());
            beginBranch(top, m_doc.GetSpouse(top.person, family), family);
            continue;
        }
        m_nodes.expand(top.node);
        leavePath(top.person);
        stack.pop_back();
    }
}

// ---- Ancestors ----

void TreeWalks::AddAncestors(const CPerson* person, std::int32_t number, TreeItem parent) {
    if (number < 0) {
        throw std::invalid_argument("negative Ahnentafel number " + std::to_string(number));
    }
    if (person == nullptr) {
        return;
    }
    walkWithPath([&] {
        AhnentafelNumber current(static_cast<std::uint32_t>(number));
        std::vector<LineFrame> stack;
        const auto enter = [&](const CPerson* p, TreeItem under) {
            std::string label;
            const std::string name = shownName(p->GetDisplayName());
            label.reserve(current.digitCount() + 2 + name.size());
            current.appendTo(label);
            label.append("  ").append(name);
            const TreeItem item = insertNode(under, std::move(label));
            if (item == kNoTreeItem) {
                return false;
            }
            if (current.isOne()) {
                setSexImage(item, *p);
            }
            m_nodes.setPerson(item, p->m_nIndex);
            enterPath(p);
            stack.push_back({p, item});
            return true;
        };
        enter(person, parent);
        while (!stack.empty()) {
            LineFrame& top = stack.back();
            // nextFamily counts the parents looked at: the father, then the mother.
            if (top.nextFamily < 2 && step()) {
                const bool mother = top.nextFamily++ == 1;
                const CPerson* p = mother ? m_doc.GetMother(top.person) : m_doc.GetFather(top.person);
                if (p != nullptr && !onPath(p)) {
                    current.toParent(mother);
                    if (!enter(p, top.node)) {
                        current.toChild();
                    }
                }
                continue;
            }
            m_nodes.expand(top.node);
            leavePath(top.person);
            stack.pop_back();
            if (!stack.empty()) {
                current.toChild();
            }
        }
    });
}

// ---- Mitochondrial DNA and Y chromosome ----

void TreeWalks::AddMtDnaLine(const CPerson* person, TreeItem parent) {
    runLine(person, parent, false);
}

void TreeWalks::AddYLine(const CPerson* person, TreeItem parent) {
    runLine(person, parent, true);
}

void TreeWalks::afterLineNode(TreeItem item) {
    m_nodes.expand(item);
    if (m_hSelectItem != kNoTreeItem) {
        m_nodes.ensureVisible(m_hSelectItem);
        m_nodes.select(m_hSelectItem);
    }
}

// The mitochondrial line lists every child of a woman and follows daughters
// only; the Y line lists men only and follows all of them.
void TreeWalks::runLine(const CPerson* person, TreeItem parent, bool yLine) {
    walkWithPath([&] {
        std::vector<LineFrame> stack;
        const auto enter = [&](const CPerson* p, TreeItem under) {
            if (p == nullptr || (yLine && p->m_cSex != 'M') || onPath(p)) {
                return;
            }
            const TreeItem item = insertNode(under, shownName(p->GetDisplayName()));
            if (item == kNoTreeItem) {
                return;
            }
            m_nodes.setPerson(item, p->m_nIndex);
            setSexImage(item, *p);
            if (m_pPerson != nullptr && p->m_nIndex == m_pPerson->m_nIndex) {
                m_hSelectItem = item;
            }
            enterPath(p);
            stack.push_back({p, item});
        };
        enter(person, parent);
        while (!stack.empty()) {
            LineFrame& top = stack.back();
            if (yLine || top.person->m_cSex == 'F') {
                if (top.family != nullptr && top.nextChild < top.family->m_nChildren && step()) {
                    enter(m_doc.GetChild(top.family, top.nextChild++), top.node); // `top` is not used after this
                    continue;
                }
                if (top.nextFamily < top.person->m_nSpouseFamilies && step()) {
                    top.family = m_doc.FindFamily(top.person->m_arrSpouseFamilies[top.nextFamily++].view());
                    top.nextChild = 0;
                    continue;
                }
            }
            afterLineNode(top.node);
            leavePath(top.person);
            stack.pop_back();
        }
    });
}

} // namespace stirpex
