// stirpex-relation-bench: how fast the relationship of two people is found on
// a large file, against a plain walk of the first person's ancestry.
//
//   stirpex-relation-bench FILE [--pairs N] [--seed S] [--answers OUT]
//
// The file is read once; then N pairs of people (1000 by default) are drawn at
// random (a fixed seed, so every run draws the same pairs). The document's
// parent table (model/parent_table.h), made on the first question, is made
// and timed before them. For each pair:
//   relation  FindRelationships(A, B): every relationship, blood or by
//             marriage, with its words, sentence and path;
//   ancestry  a breadth-first walk of all of A's ancestors with a visited set,
//             through the key lookups (parent family, father, mother) the
//             search made before it had the parent table: the baseline every
//             measurement so far was compared with.
// Reported: the median, 90th percentile and slowest of each, the ratio of the
// medians, and how many pairs came out related by blood, by marriage or not.
// With --answers, every relationship found (words, sentence, path, common
// ancestors) is written to OUT, one pair after another: two builds that must
// agree are compared by comparing their files.

#include "bench_timing.h"
#include "gedcom/load_driver.h"
#include "model/parent_table.h"
#include "model/stirpex_doc.h"
#include "trees/relationship.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using stirpex::bench::Clock;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

using namespace stirpex;

std::size_t ancestryWalk(const CStirpexDoc& doc, const CPerson& start) {
    std::vector<bool> seen(doc.m_ppPersons.size());
    std::vector<const CPerson*> queue{&start};
    seen[static_cast<std::size_t>(start.m_nIndex)] = true;
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const CFamily* family = doc.FindFamily(queue[next]->m_strParentFamily.view());
        if (!family) {
            continue;
        }
        for (const CPerson* parent :
             {doc.FindPerson(family->m_strHusband.view()), doc.FindPerson(family->m_strWife.view())}) {
            if (parent && !seen[static_cast<std::size_t>(parent->m_nIndex)]) {
                seen[static_cast<std::size_t>(parent->m_nIndex)] = true;
                queue.push_back(parent);
            }
        }
    }
    return queue.size();
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

void report(const char* name, const std::vector<double>& seconds, double baseline) {
    const double mid = median(seconds);
    std::printf("%-9s median %8.2f ms  p90 %8.2f ms  slowest %8.2f ms  %6.2f x ancestry\n", name, 1000.0 * mid,
                1000.0 * percentile(seconds, 0.9), 1000.0 * *std::max_element(seconds.begin(), seconds.end()),
                mid / baseline);
}

void writeKeys(std::FILE* out, const std::vector<const CPerson*>& people) {
    for (const CPerson* person : people) {
        std::fprintf(out, " %s", person->m_strID.c_str());
    }
}

void writeAnswers(std::FILE* out, const CPerson& a, const CPerson& b, const std::vector<Relationship>& found) {
    std::fprintf(out, "%s %s: %zu\n", a.m_strID.c_str(), b.m_strID.c_str(), found.size());
    for (const Relationship& r : found) {
        std::fprintf(out, "  %s%s | %s | path", r.byMarriage ? "(m) " : "", r.words.c_str(), r.sentence.c_str());
        writeKeys(out, r.path);
        std::fprintf(out, " | common");
        writeKeys(out, r.commonAncestors);
        std::fprintf(out, "\n");
    }
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: stirpex-relation-bench FILE [--pairs N] [--seed S] [--answers OUT]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        usage();
    }
    const std::string path = argv[1];
    long pairs = 1000;
    long seed = 14;
    const char* answersPath = nullptr;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc) {
            usage();
        }
        if (arg == "--pairs") {
            pairs = bench::NumberArgument(argv[++i], 1, std::numeric_limits<int>::max(), usage);
        } else if (arg == "--seed") {
            seed = bench::NumberArgument(argv[++i], 1, std::numeric_limits<int>::max(), usage);
        } else if (arg == "--answers") {
            answersPath = argv[++i];
        } else {
            usage();
        }
    }

    CStirpexDoc doc;
    std::string error;
    const Clock::time_point loadStart = Clock::now();
    const LoadResult loaded = LoadGedcomFile(doc, path, LoadEnvironment{}, error);
    if (!error.empty() || loaded.outcome != LoadOutcome::Loaded || doc.m_ppPersons.empty()) {
        std::fprintf(stderr, "stirpex-relation-bench: cannot read %s %s\n", path.c_str(), error.c_str());
        return 1;
    }
    std::printf("%s: %d people, read in %.1f s; %ld pairs\n", path.c_str(), doc.m_nPersons, secondsSince(loadStart),
                pairs);
    // Made once per document, on the first question; timed apart so that no pair carries it.
    const Clock::time_point tableStart = Clock::now();
    doc.GetParentTable();
    std::printf("parent table made in %.1f ms\n", 1000.0 * secondsSince(tableStart));

    std::FILE* answers = answersPath ? std::fopen(answersPath, "w") : nullptr;
    if (answersPath && !answers) {
        std::fprintf(stderr, "stirpex-relation-bench: cannot write %s\n", answersPath);
        return 1;
    }
    std::mt19937_64 random(static_cast<std::uint64_t>(seed));
    std::uniform_int_distribution<std::size_t> draw(0, doc.m_ppPersons.size() - 1);
    std::vector<double> relation, ancestry;
    long blood = 0, marriage = 0, none = 0;
    std::size_t ancestors = 0;
    for (long i = 0; i < pairs; ++i) {
        const CPerson& a = *doc.m_ppPersons[draw(random)];
        const CPerson& b = *doc.m_ppPersons[draw(random)];
        Clock::time_point start = Clock::now();
        const std::vector<Relationship> found = FindRelationships(doc, a, b);
        relation.push_back(secondsSince(start));
        if (answers) {
            writeAnswers(answers, a, b, found);
        }
        (found.empty() ? none : found.front().byMarriage ? marriage : blood) += 1;

        start = Clock::now();
        ancestors += ancestryWalk(doc, a);
        ancestry.push_back(secondsSince(start));
    }
    if (answers) {
        std::fclose(answers);
    }
    const double baseline = median(ancestry);
    report("relation", relation, baseline);
    report("ancestry", ancestry, baseline);
    std::printf("related by blood %ld, by marriage %ld, not related %ld; %zu ancestors per first person on average\n",
                blood, marriage, none, ancestors / static_cast<std::size_t>(pairs));
    return 0;
}
