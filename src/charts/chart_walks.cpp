#include "charts/chart_walks.h"

#include "model/stirpex_doc.h"
#include "trees/ahnentafel_number.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

namespace stirpex::detail {

namespace {

// The first box of each person met, by m_nIndex.
class FirstBoxes {
public:
    explicit FirstBoxes(const CStirpexDoc& doc) : m_first(doc.m_ppPersons.size(), -1) {}

    std::int32_t of(const CPerson& person) const {
        const auto index = static_cast<std::size_t>(person.m_nIndex);
        return person.m_nIndex >= 0 && index < m_first.size() ? m_first[index] : -1;
    }
    void set(const CPerson& person, std::int32_t box) {
        const auto index = static_cast<std::size_t>(person.m_nIndex);
        if (person.m_nIndex >= 0 && index < m_first.size()) {
            m_first[index] = box;
        }
    }

private:
    std::vector<std::int32_t> m_first;
};

// Who a unit waits to be made for.
struct Pending {
    const CPerson* person = nullptr;
    ChartBoxKind kind = ChartBoxKind::Person;
};

std::int32_t toInt(std::size_t n) {
    return static_cast<std::int32_t>(n);
}

// Ends the tree before unit `end`: the units not yet made go, and so do their places among their parents' children.
void cutBefore(ChartTree& tree, std::size_t end) {
    tree.cut = true;
    tree.units.resize(end);
    const std::int32_t last = toInt(end);
    for (TreeUnit& unit : tree.units) {
        unit.childEnd = std::min(unit.childEnd, last);
        unit.childBegin = std::min(unit.childBegin, unit.childEnd);
    }
}

void countLevels(ChartTree& tree) {
    tree.levels = tree.units.empty() ? 0 : tree.units.back().level + 1;
}

// The first boxes of an earlier tree, but for the centre person's, which the two share.
FirstBoxes firstBoxesOf(const CStirpexDoc& doc, const ChartTree& tree) {
    FirstBoxes first(doc);
    for (std::size_t i = 1; i < tree.boxes.size(); ++i) {
        const TreeBox& box = tree.boxes[i];
        if (box.person != nullptr && box.firstBox < 0 && box.earlierBox < 0) {
            first.set(*box.person, toInt(i));
        }
    }
    return first;
}

// Adds a unit of one box for a person or an empty place, and says whether the
// walk goes on from it: not from an empty box, nor from someone met before,
// in this tree or in `earlier`.
bool addSingleBox(ChartTree& tree, FirstBoxes& first, const FirstBoxes* earlier, std::size_t unitIndex,
                  const Pending& pending, std::int32_t generation) {
    TreeUnit& unit = tree.units[unitIndex];
    TreeBox box;
    box.person = pending.person;
    box.kind = pending.kind;
    box.generation = generation;
    box.towardCentre = unit.parent < 0 ? -1 : tree.units[static_cast<std::size_t>(unit.parent)].boxBegin;
    bool goOn = false;
    if (pending.person != nullptr) {
        box.firstBox = first.of(*pending.person);
        if (box.firstBox < 0 && earlier != nullptr) {
            box.earlierBox = earlier->of(*pending.person);
        }
        goOn = box.firstBox < 0 && box.earlierBox < 0;
        if (goOn) {
            first.set(*pending.person, toInt(tree.boxes.size()));
        } else {
            tree.repeats = true;
        }
    }
    unit.boxBegin = toInt(tree.boxes.size());
    tree.boxes.push_back(std::move(box));
    unit.boxEnd = toInt(tree.boxes.size());
    return goOn;
}

// A partner is drawn without their own relatives: their box is marked as a
// repeat when the person is drawn elsewhere too, pointing to the box with
// their descendants (in this tree or the earlier one), or else to their
// first box as a partner. Done once the walk is over, as a partner may be
// met before their own box as a descendant, from which the walk goes on.
void markRepeatedPartners(ChartTree& tree, const FirstBoxes& first, const FirstBoxes* earlier) {
    std::unordered_map<std::int32_t, std::int32_t> firstAsPartner;
    for (const TreeUnit& unit : tree.units) {
        for (std::int32_t b = unit.boxBegin + 1; b < unit.boxEnd; ++b) {
            TreeBox& box = tree.boxes[static_cast<std::size_t>(b)];
            if (box.person == nullptr) {
                continue;
            }
            box.firstBox = first.of(*box.person);
            if (box.firstBox < 0 && earlier != nullptr) {
                box.earlierBox = earlier->of(*box.person);
            }
            if (box.firstBox < 0 && box.earlierBox < 0) {
                const auto [seen, isNew] = firstAsPartner.try_emplace(box.person->m_nIndex, b);
                if (!isNew) {
                    box.firstBox = seen->second;
                }
            }
            tree.repeats = tree.repeats || box.firstBox >= 0 || box.earlierBox >= 0;
        }
    }
}

} // namespace

ChartTree WalkAncestors(const CStirpexDoc& doc, const CPerson& person, std::int32_t generations,
                        const ChartOptions& options) {
    ChartTree tree;
    FirstBoxes first(doc);
    std::vector<Pending> pending{{&person, ChartBoxKind::Person}};
    std::vector<AhnentafelNumber> numbers;
    if (options.ahnentafelNumbers) {
        numbers.emplace_back(1U);
    }
    tree.units.emplace_back();
    for (std::size_t i = 0; i < tree.units.size(); ++i) {
        if (tree.boxes.size() >= static_cast<std::size_t>(options.maxBoxes)) {
            cutBefore(tree, i);
            break;
        }
        const std::int32_t level = tree.units[i].level;
        const bool goOn = addSingleBox(tree, first, nullptr, i, pending[i], level);
        if (options.ahnentafelNumbers) {
            tree.boxes.back().number = numbers[i].text();
        }
        tree.units[i].childBegin = toInt(tree.units.size());
        if (goOn && level + 1 < generations) {
            const auto enqueue = [&](const CPerson* parent, ChartBoxKind unknown, bool mother) {
                if (parent == nullptr && !options.unknownParents) {
                    return;
                }
                TreeUnit unit;
                unit.parent = toInt(i);
                unit.level = level + 1;
                unit.mother = mother;
                tree.units.push_back(unit);
                pending.push_back({parent, parent != nullptr ? ChartBoxKind::Person : unknown});
                if (options.ahnentafelNumbers) {
                    AhnentafelNumber number = numbers[i];
                    number.toParent(mother);
                    numbers.push_back(std::move(number));
                }
            };
            enqueue(doc.GetFather(pending[i].person), ChartBoxKind::UnknownFather, false);
            enqueue(doc.GetMother(pending[i].person), ChartBoxKind::UnknownMother, true);
        }
        tree.units[i].childEnd = toInt(tree.units.size());
    }
    countLevels(tree);
    return tree;
}

ChartTree WalkDescendants(const CStirpexDoc& doc, const CPerson& person, std::int32_t generations,
                          const ChartOptions& options, const ChartTree* earlier) {
    ChartTree tree;
    tree.partners = options.includeSpouses;
    tree.earlier = earlier;
    FirstBoxes first(doc);
    std::optional<FirstBoxes> earlierFirst;
    if (earlier != nullptr) {
        earlierFirst.emplace(firstBoxesOf(doc, *earlier));
    }
    const FirstBoxes* before = earlierFirst ? &*earlierFirst : nullptr;
    std::vector<const CPerson*> pending{&person};
    tree.units.emplace_back();
    for (std::size_t i = 0; i < tree.units.size(); ++i) {
        const CPerson* p = pending[i];
        const bool repeated = first.of(*p) >= 0 || (before != nullptr && before->of(*p) >= 0);
        const std::size_t partnerBoxes =
            repeated || !options.includeSpouses ? 0 : static_cast<std::size_t>(std::max(p->m_nSpouseFamilies, 0));
        if (tree.boxes.size() + 1 + partnerBoxes > static_cast<std::size_t>(options.maxBoxes)) {
            cutBefore(tree, i);
            break;
        }
        const std::int32_t level = tree.units[i].level;
        const bool goOn = addSingleBox(tree, first, before, i, {p, ChartBoxKind::Person}, -level);
        const std::int32_t personBox = tree.units[i].boxBegin;
        tree.units[i].childBegin = toInt(tree.units.size());
        for (std::int32_t k = 0; goOn && k < p->m_nSpouseFamilies; ++k) {
            const CFamily* family = doc.FindFamily(p->m_arrSpouseFamilies[k].view());
            if (options.includeSpouses) {
                TreeBox partner;
                partner.person = doc.GetSpouse(p, family);
                partner.kind = partner.person != nullptr ? ChartBoxKind::Person : ChartBoxKind::UnknownPartner;
                partner.generation = -level;
                partner.towardCentre = personBox;
                tree.boxes.push_back(std::move(partner));
            }
            if (family == nullptr || level + 1 >= generations) {
                continue;
            }
            for (std::int32_t j = 0; j < family->m_nChildren; ++j) {
                if (const CPerson* child = doc.GetChild(family, j)) {
                    TreeUnit unit;
                    unit.parent = toInt(i);
                    unit.level = level + 1;
                    unit.family = options.includeSpouses ? k : 0;
                    tree.units.push_back(unit);
                    pending.push_back(child);
                }
            }
        }
        tree.units[i].boxEnd = toInt(tree.boxes.size());
        tree.units[i].childEnd = toInt(tree.units.size());
    }
    markRepeatedPartners(tree, first, before);
    countLevels(tree);
    return tree;
}

} // namespace stirpex::detail
