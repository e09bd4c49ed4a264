// stirpex-search-bench: how long a search by place and by words takes over a
// whole file, against a bare pass over the same texts.
//
//   stirpex-search-bench FILE [--repeat K] [--hits OUT]
//
// The file is loaded once. K times each (default 3), medians:
//   bare      every fact's place and value, every note line, citation text
//             and source title of every person read once, a byte sought in
//             each with memchr: nothing that looks at all of them is cheaper;
//   searches  Search with the user's locale collation: by a place many people
//             have, by one nobody has, by common words, by a word nobody
//             wrote, and by surname with sex and years.
// Each search is printed with its hits and its ratio to the bare pass, in
// wall time and in processor time. With
// --hits, every hit of every search (person, name, years, places, what
// matched) is written to OUT, so that two builds that must agree can be
// compared by their files.

#include "bench_load.h"
#include "bench_timing.h"
#include "find/locale_collator_qt.h"
#include "find/search.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using stirpex::bench::Clock;
using stirpex::bench::joined;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

// On a machine shared with other work, the processor time a search takes
// varies far less than the time it waits.
double cpuSecondsSince(std::clock_t start) {
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: stirpex-search-bench FILE [--repeat K] [--hits OUT]\n");
    std::exit(2);
}

std::size_t seek(std::string_view text) {
    return std::memchr(text.data(), '\x01', text.size()) != nullptr ? 1 : 0;
}

std::size_t seekAll(const stirpex::ArenaStrList& list) {
    std::size_t n = 0;
    for (const stirpex::ArenaStr& text : list) {
        n += seek(text.view());
    }
    return n;
}

// What a search by place and words must read at least, with nothing cached:
// shared notes and sources are read once for each person who names them.
std::size_t barePass(const stirpex::CStirpexDoc& doc) {
    std::size_t seen = 0;
    const auto notes = [&](const stirpex::ArenaStrList& keys) {
        for (const stirpex::ArenaStr& key : keys) {
            if (const stirpex::CNote* note = doc.FindNote(key.view())) {
                seen += seekAll(note->m_pLines);
            }
        }
    };
    for (const auto& person : doc.m_ppPersons) {
        const stirpex::PersonDetails& details = person->Details();
        notes(details.m_arrNotes);
        seen += seekAll(details.m_arrSourceTexts);
        for (const stirpex::Fact& fact : details.m_facts) {
            seen += seek(fact.m_strPlace.view()) + seek(fact.m_strValue.view());
            notes(fact.Details().m_arrNotes);
            seen += seekAll(fact.Details().m_arrSourceTexts);
        }
    }
    return seen;
}

struct Case {
    const char* label;
    stirpex::SearchQuery query;
};

std::vector<Case> cases() {
    std::vector<Case> list(6);
    list[0].label = "place, many hits (\"boston\")";
    list[0].query.place = "boston";
    list[1].label = "place, no hit (\"atlantis\")";
    list[1].query.place = "atlantis";
    list[2].label = "words, many hits (\"emigrated river\")";
    list[2].query.text = "emigrated river";
    list[3].label = "words, no hit (\"zzqx\")";
    list[3].query.text = "zzqx";
    list[4].label = "place and words (\"dublin\", \"tradition\")";
    list[4].query.place = "dublin";
    list[4].query.text = "tradition";
    list[5].label = "surname, sex, years (\"b\", F, 1800..1850)";
    list[5].query.surname = "b";
    list[5].query.sex = 'F';
    list[5].query.fromYear = 1800;
    list[5].query.toYear = 1850;
    return list;
}

void writeHits(std::FILE* out, const char* label, const std::vector<stirpex::SearchHit>& hits) {
    std::fprintf(out, "%s: %zu\n", label, hits.size());
    for (const stirpex::SearchHit& hit : hits) {
        std::fprintf(out, "  %s | %s | %s | %s | %s\n", hit.person->m_strID.c_str(), hit.name.c_str(),
                     hit.years.c_str(), hit.places.c_str(), hit.matched.c_str());
    }
}

// "--hits OUT" taken out of the arguments, which leaves those every file benchmark reads.
const char* takeHitsArgument(int& argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "--hits") {
            const char* path = argv[i + 1];
            std::copy(argv + i + 2, argv + argc, argv + i);
            argc -= 2;
            return path;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    const char* hitsPath = takeHitsArgument(argc, argv);
    const std::optional<stirpex::bench::FileArguments> arguments = stirpex::bench::ReadFileArguments(argc, argv);
    if (!arguments) {
        usage();
    }
    const char* file = arguments->file;
    const int repeat = arguments->repeat;

    stirpex::CStirpexDoc doc;
    const double loadSeconds = stirpex::bench::LoadOrExit(doc, file, "stirpex-search-bench");
    std::printf("loaded %s in %.2f s: %d people, %d families, %d notes, %d sources\n", file, loadSeconds,
                doc.m_nPersons, doc.m_nFamilies, doc.m_nNotes, doc.m_nSources);

    const stirpex::LocaleCollator collator;
    std::vector<double> bare, bareCpu;
    std::size_t seen = 0;
    for (int run = 0; run < repeat; ++run) {
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        seen += barePass(doc);
        bare.push_back(secondsSince(start));
        bareCpu.push_back(cpuSecondsSince(cpuStart));
    }
    const double baseline = median(bare);
    const double cpuBaseline = median(bareCpu);
    std::printf("%-44s %8.3f s  %5.2f x bare  cpu %6.3f s %5.2f x bare  %8s       (%s)%s\n", "bare pass (baseline)",
                baseline, 1.0, cpuBaseline, 1.0, "", joined(bare).c_str(), seen == 0 ? "" : " ");

    std::FILE* hitsFile = hitsPath ? std::fopen(hitsPath, "w") : nullptr;
    if (hitsPath && !hitsFile) {
        std::fprintf(stderr, "stirpex-search-bench: cannot write %s\n", hitsPath);
        return 1;
    }
    for (const Case& c : cases()) {
        std::vector<double> times, cpuTimes;
        std::size_t hits = 0;
        for (int run = 0; run < repeat; ++run) {
            const auto start = Clock::now();
            const std::clock_t cpuStart = std::clock();
            const std::vector<stirpex::SearchHit> found = stirpex::Search(doc, collator, c.query);
            times.push_back(secondsSince(start));
            cpuTimes.push_back(cpuSecondsSince(cpuStart));
            hits = found.size();
            if (hitsFile && run == 0) {
                writeHits(hitsFile, c.label, found);
            }
        }
        const double m = median(times);
        const double cpu = median(cpuTimes);
        std::printf("%-44s %8.3f s  %5.2f x bare  cpu %6.3f s %5.2f x bare  %8zu hits  (%s)\n", c.label, m,
                    m / baseline, cpu, cpu / cpuBaseline, hits, joined(times).c_str());
    }
    if (hitsFile) {
        std::fclose(hitsFile);
    }
    return 0;
}
