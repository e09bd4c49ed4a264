// stirpex-page-text-bench: `stirpex-cli page` as readable text against the
// same page as JSON, for a mother of N children and of N families.
//
//   stirpex-page-text-bench [--repeat K]
//
// The documents are built in memory; each command writes to /dev/null. For
// N = 50,000, 100,000 and 200,000 it prints the median of K runs of the text
// and of the JSON output and their ratio. The JSON writer makes one pass over
// the page, so the ratio stays flat as N doubles while the text output is
// linear in the links too; a ratio that doubles with N is a quadratic text.

#include "bench_timing.h"
#include "cli/commands.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using stirpex::bench::Clock;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

using namespace stirpex;

std::unique_ptr<CStirpexDoc> motherOfChildren(int children) {
    auto doc = std::make_unique<CStirpexDoc>();
    TextArena& arena = doc->Arena();
    CPerson& mother = doc->AddPerson(arena.copy("M"));
    mother.m_strSurname = arena.copy("Harrow");
    mother.m_strGivenNames = arena.copy("Margaret");
    mother.m_cSex = U'F';
    mother.AddSpouseFamily(arena, arena.copy("F"));
    CFamily& family = doc->AddFamily(arena.copy("F"));
    family.m_strWife = arena.copy("M");
    for (int i = 0; i < children; ++i) {
        const std::string key = "C" + std::to_string(i);
        family.AddChild(arena, arena.copy(key));
        CPerson& child = doc->AddPerson(arena.copy(key));
        child.m_strSurname = arena.copy("Harrow");
        child.m_strGivenNames = arena.copy("Child " + std::to_string(i));
    }
    return doc;
}

// Each family a husband of his own, so that every family line is a link.
std::unique_ptr<CStirpexDoc> motherOfFamilies(int families) {
    auto doc = std::make_unique<CStirpexDoc>();
    TextArena& arena = doc->Arena();
    CPerson& mother = doc->AddPerson(arena.copy("M"));
    mother.m_strSurname = arena.copy("Harrow");
    mother.m_cSex = U'F';
    for (int i = 0; i < families; ++i) {
        const std::string family = "F" + std::to_string(i);
        const std::string husband = "H" + std::to_string(i);
        mother.AddSpouseFamily(arena, arena.copy(family));
        CFamily& f = doc->AddFamily(arena.copy(family));
        f.m_strWife = arena.copy("M");
        f.m_strHusband = arena.copy(husband);
        CPerson& h = doc->AddPerson(arena.copy(husband));
        h.m_strSurname = arena.copy("Husband " + std::to_string(i));
    }
    return doc;
}

double timeCommand(const CStirpexDoc& doc, bool json, int repeat) {
    const LoadResult load;
    const std::vector<std::string> operands = {"M"};
    const std::map<std::string, std::string, std::less<>> options;
    std::vector<double> runs;
    for (int i = 0; i < repeat; ++i) {
        std::FILE* out = std::fopen("/dev/null", "w");
        const cli::CommandInput in{doc, load, "bench.ged", "bench.ged", operands, options, json, nullptr, out};
        const auto start = Clock::now();
        cli::RunPageCommand(in);
        std::fflush(out);
        runs.push_back(secondsSince(start));
        std::fclose(out);
    }
    return median(runs);
}

void report(const char* what, int n, const CStirpexDoc& doc, int repeat) {
    const double text = timeCommand(doc, false, repeat);
    const double json = timeCommand(doc, true, repeat);
    std::printf("%-9s %7d   text %8.3f s   json %8.3f s   text / json %6.2f\n", what, n, text, json, text / json);
}

} // namespace

int main(int argc, char** argv) {
    int repeat = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: stirpex-page-text-bench [--repeat K]\n");
            return 2;
        }
    }
    for (const int n : {50000, 100000, 200000}) {
        report("children", n, *motherOfChildren(n), repeat);
    }
    for (const int n : {50000, 100000, 200000}) {
        report("families", n, *motherOfFamilies(n), repeat);
    }
    return 0;
}
