// stirpex-tree-bench: how fast the lineage walks build their trees, against a
// bare depth-first pass over the same persons.
//
//   stirpex-tree-bench [--generations G] [--children C] [--repeat K]
//
// The document is built in memory with the model's building operations: a
// line of G men, each married to a wife without parents and father of C
// children (sons and daughters in turn, the first a son who carries the
// line on). The earliest man so has G * C descendants (100,000 by default,
// G = 20,000 generations deep) and G partners.
//
// Timed, K times each, figures are medians:
//   bare         an explicit-stack depth-first pass from the earliest man with
//                the lookups the descendants walk makes (FindFamily, GetSpouse,
//                GetChild), counting the nodes the tree will have, building
//                no label and no tree: the least any such walk has to do;
//   labels       the same pass, also formatting every label (GetDisplayName);
//   descendants  the descendants tree of the earliest man, partners shown, as
//                the dialog opens it, plus the child index a model reads;
//   no-spouses   the partner toggle on that tree: all nodes deleted, rebuilt
//                without partners;
//   ancestors    the ancestors tree of the last man: G numbered nodes whose
//                Ahnentafel numbers grow to thousands of digits;
//   y-line       the Y chromosome tree of the last man (every son).

#include "bench_timing.h"
#include "model/stirpex_doc.h"
#include "trees/lineage_tree.h"
#include "trees/tree_walks.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using stirpex::bench::Clock;
using stirpex::bench::joined;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

using namespace stirpex;
std::string keyOf(char prefix, int number) {
    std::string key(1, prefix);
    key.append(std::to_string(number));
    return key;
}

struct Lineage {
    std::unique_ptr<CStirpexDoc> doc = std::make_unique<CStirpexDoc>();
    const CPerson* first = nullptr;
    const CPerson* last = nullptr;
};

CPerson& addPerson(CStirpexDoc& doc, std::string_view key, char sex, std::string_view given, int year,
                   ArenaStr surname) {
    TextArena& arena = doc.Arena();
    CPerson& person = doc.AddPerson(arena.copy(key));
    person.m_cSex = sex;
    person.m_strSurname = surname;
    person.m_strGivenNames = arena.copy(given);
    person.m_nBirthYear = year;
    person.m_nDeathYear = year + 60;
    return person;
}

Lineage buildLineage(int generations, int children) {
    Lineage lineage;
    CStirpexDoc& doc = *lineage.doc;
    TextArena& arena = doc.Arena();
    const ArenaStr lineName = arena.copy("Harrowgate");
    const ArenaStr wifeName = arena.copy("Pennick");
    doc.BeginBulkLoad();
    std::string heirKey = "L0";
    CPerson* heir = &addPerson(doc, heirKey, 'M', "Ezekiel", 1000, lineName);
    lineage.first = heir;
    for (int g = 0; g < generations; ++g) {
        const std::string family = keyOf('F', g);
        const std::string wife = keyOf('W', g);
        const ArenaStr familyKey = arena.copy(family);
        heir->AddSpouseFamily(arena, familyKey);
        CPerson& spouse = addPerson(doc, wife, 'F', "Mercy", 1000 + g, wifeName);
        spouse.AddSpouseFamily(arena, familyKey);
        CFamily& fam = doc.AddFamily(familyKey);
        fam.m_strHusband = heir->m_strID;
        fam.m_strWife = spouse.m_strID;
        CPerson* next = nullptr;
        for (int c = 0; c < children; ++c) {
            std::string key = keyOf(c == 0 ? 'L' : 'C', g + 1);
            if (c != 0) {
                key.append("_").append(std::to_string(c));
            }
            CPerson& child = addPerson(doc, key, c % 2 == 0 ? 'M' : 'F', c == 0 ? "Josiah" : "Ann", 1020 + g, lineName);
            child.m_strParentFamily = familyKey;
            fam.AddChild(arena, child.m_strID);
            if (c == 0) {
                next = &child;
            }
        }
        lineage.last = next;
        if (g + 1 < generations) {
            heir = next;
        }
    }
    doc.EndBulkLoad();
    return lineage;
}

// The descendants walk's lookups, partners shown, without labels or a tree.
// With `labels`, every label is formatted too (and its length summed, so that
// the work is not optimised away).
std::int64_t barePass(const CStirpexDoc& doc, const CPerson* top, bool labels, std::size_t& labelBytes) {
    struct Open {
        const CPerson* person;
        int nextFamily;
        const CFamily* family;
        int nextChild;
    };
    std::int64_t nodes = 0;
    std::vector<Open> stack;
    const auto visit = [&](const CPerson* person) {
        ++nodes;
        if (labels) {
            labelBytes += person->GetDisplayName().size();
        }
        stack.push_back({person, 0, nullptr, 0});
    };
    visit(top);
    while (!stack.empty()) {
        Open& open = stack.back();
        if (open.family != nullptr && open.nextChild < open.family->m_nChildren) {
            const CPerson* child = doc.GetChild(open.family, open.nextChild++);
            if (child != nullptr) {
                visit(child);
            }
            continue;
        }
        if (open.nextFamily < open.person->m_nSpouseFamilies) {
            open.family = doc.FindFamily(open.person->m_arrSpouseFamilies[open.nextFamily++].view());
            open.nextChild = 0;
            const CPerson* partner = doc.GetSpouse(open.person, open.family);
            ++nodes;
            if (labels && partner != nullptr) {
                labelBytes += partner->GetDisplayName().size();
            }
            continue;
        }
        stack.pop_back();
    }
    return nodes;
}

struct Figure {
    explicit Figure(const char* figureName) : name(figureName) {}
    const char* name;
    std::vector<double> seconds;
    std::int64_t nodes = 0;
};

void report(const Figure& figure, double baseline) {
    const double t = median(figure.seconds);
    std::printf("%-12s %9.2f ms  %8lld nodes  %6.2f x bare\n", figure.name, 1000.0 * t,
                static_cast<long long>(figure.nodes), t / baseline);
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: stirpex-tree-bench [--generations G] [--children C] [--repeat K]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    int generations = 20000;
    int children = 5;
    int repeat = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc) {
            usage();
        }
        if (arg == "--generations") {
            generations = bench::NumberArgument(argv[++i], 1, 1000000, usage);
        } else if (arg == "--children") {
            children = bench::NumberArgument(argv[++i], 1, 1000, usage);
        } else if (arg == "--repeat") {
            repeat = bench::NumberArgument(argv[++i], 1, 1000, usage);
        } else {
            usage();
        }
    }

    const auto buildStart = Clock::now();
    const Lineage lineage = buildLineage(generations, children);
    const CStirpexDoc& doc = *lineage.doc;
    std::printf("document     %d people, %d families, built in %.1f ms\n", doc.m_nPersons, doc.m_nFamilies,
                1000.0 * secondsSince(buildStart));
    std::printf("lineage      %d generations, %lld descendants of the earliest man\n", generations,
                static_cast<long long>(generations) * children);

    Figure bare("bare"), labels("labels"), descendants("descendants"), hidden("no-spouses"), ancestors("ancestors"),
        yLine("y-line");
    std::size_t labelBytes = 0;
    for (int r = 0; r < repeat; ++r) {
        auto start = Clock::now();
        bare.nodes = barePass(doc, lineage.first, false, labelBytes);
        bare.seconds.push_back(secondsSince(start));

        start = Clock::now();
        labels.nodes = barePass(doc, lineage.first, true, labelBytes);
        labels.seconds.push_back(secondsSince(start));

        LineageTree tree;
        TreeWalks walks(doc, tree);
        const auto timeTree = [&](Figure& figure, const std::function<void()>& build) {
            const auto begin = Clock::now();
            build();
            if (tree.topLevelCount() > 0) {
                tree.childAt(kTreeRoot, 0); // the index a model reads
            }
            figure.seconds.push_back(secondsSince(begin));
            figure.nodes = tree.size();
            if (tree.cut()) {
                std::fprintf(stderr, "stirpex-tree-bench: %s: %s\n", figure.name, tree.cutMessage().c_str());
            }
        };
        timeTree(descendants, [&] { walks.Open(lineage.first, TREE_DESCENDANTS); });
        timeTree(hidden, [&] { walks.OnIncludeSpouses(); });
        timeTree(ancestors, [&] { walks.Open(lineage.last, TREE_ANCESTORS); });
        timeTree(yLine, [&] { walks.Open(lineage.last, TREE_YCHROMOSOME); });
    }
    if (descendants.nodes != bare.nodes) {
        std::fprintf(stderr, "stirpex-tree-bench: the tree has %lld nodes, the bare pass counted %lld\n",
                     static_cast<long long>(descendants.nodes), static_cast<long long>(bare.nodes));
        return 1;
    }

    const double baseline = median(bare.seconds);
    std::printf("medians of %d runs; labels formatted: %zu bytes a pass\n", repeat,
                labelBytes / static_cast<std::size_t>(repeat));
    for (const Figure* figure : {&bare, &labels, &descendants, &hidden, &ancestors, &yLine}) {
        report(*figure, baseline);
    }
    std::printf("RESULT descendants=%lld build_ms=%.2f bare_ms=%.2f ratio=%.2f\n",
                static_cast<long long>(generations) * children, 1000.0 * median(descendants.seconds), 1000.0 * baseline,
                median(descendants.seconds) / baseline);
    return 0;
}
