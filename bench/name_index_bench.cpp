// stirpex-name-index-bench: how long building the name index takes, against
// sorting the same entry texts with the same collator in a plain vector.
//
//   stirpex-name-index-bench FILE [--repeat K] [--no-married]
//
// The file is loaded once, without an index. The entry texts are then made
// once in file order (an index whose collator leaves the order alone), and
// copied into a std::vector<std::string>. K times each, with the user's
// locale collation (English where the locale is C):
//   build     NameIndex::BuildIndex after the reservation the reader makes
//             (file length / 250 entries): every text made, stored, and the
//             list sorted once;
//   sort      the collator's own sort of the texts in a plain vector of
//             entries (views of the strings): the least the build has to do;
//   pairwise  std::stable_sort of the strings with the collator's compare,
//             as a list that knows nothing but the comparison would sort.
// Then the prefix search over the built index: a beginning that no entry has
// (the whole list is read), ASCII and not. Medians of K runs.
// Last, the name list's typing over the built index: every beginning, one to
// eight characters long, of 500 entries spread over the list, and of a text
// no entry has, each looked up as one key would be; the slowest key against
// the search miss above (the old way of reading the list) in the same run.

#include "bench_load.h"
#include "bench_timing.h"

#include <optional>
#include "find/locale_collator_qt.h"
#include "find/name_index.h"
#include "find/type_ahead.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using stirpex::bench::Clock;
using stirpex::bench::joined;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

// Leaves the entries in the order they were made.
class FileOrder final : public stirpex::Collator {
public:
    int compare(std::string_view, std::string_view) const override { return 0; }
    void sort(std::span<stirpex::NameEntry>, std::pmr::memory_resource*) const override {}

protected:
    bool startsWithFolded(std::string_view, std::string_view) const override { return false; }
};

template <typename Work> double timed(Work&& work) {
    const auto start = Clock::now();
    work();
    return secondsSince(start);
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: stirpex-name-index-bench FILE [--repeat K] [--no-married]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    const char* file = nullptr;
    int repeat = 3;
    bool married = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1 || value > 1000) {
                usage();
            }
            repeat = static_cast<int>(value);
        } else if (arg == "--no-married") {
            married = false;
        } else if (!arg.empty() && arg[0] == '-') {
            usage();
        } else if (!file) {
            file = argv[i];
        } else {
            usage();
        }
    }
    if (!file) {
        usage();
    }

    stirpex::CStirpexDoc doc;
    const double loadSeconds = stirpex::bench::LoadOrExit(doc, file, "stirpex-name-index-bench");

    const stirpex::LocaleCollator collator;
    std::vector<std::string> texts;
    {
        const FileOrder fileOrder;
        stirpex::NameIndex made(fileOrder);
        made.m_bMarriedNames = married;
        made.BuildIndex(doc);
        texts.reserve(made.entries().size());
        for (const stirpex::NameEntry& entry : made.entries()) {
            texts.emplace_back(entry.text);
        }
    }

    std::vector<double> buildSeconds, sortSeconds, pairwiseSeconds;
    double asciiSearch = 0;
    double otherSearch = 0;
    int entries = 0;
    for (int run = 0; run < repeat; ++run) {
        stirpex::NameIndex index(collator);
        index.m_bMarriedNames = married;
        index.Reserve(static_cast<std::size_t>(doc.m_nFileLength) / 250);
        buildSeconds.push_back(timed([&] { index.BuildIndex(doc); }));
        entries = index.size();

        std::vector<stirpex::NameEntry> plain;
        plain.reserve(texts.size());
        for (const std::string& text : texts) {
            plain.push_back({text, static_cast<std::int32_t>(plain.size())});
        }
        sortSeconds.push_back(timed([&] { collator.sort(plain, std::pmr::get_default_resource()); }));

        std::vector<std::string> strings = texts;
        pairwiseSeconds.push_back(timed([&] {
            std::stable_sort(strings.begin(), strings.end(),
                             [&](const std::string& a, const std::string& b) { return collator.compare(a, b) < 0; });
        }));

        int found = 0;
        asciiSearch = std::max(asciiSearch, timed([&] { found += index.findPrefix("zzzz, nobody"); }));
        otherSearch = std::max(otherSearch, timed([&] { found += index.findPrefix("Øzzz, nobody"); }));
        if (found != -2) {
            std::fprintf(stderr, "stirpex-name-index-bench: a search found an entry it should not\n");
            return 1;
        }
    }

    // One run is enough: a key costs microseconds, and the slowest of some 4000 is reported.
    std::vector<double> keySeconds;
    {
        stirpex::NameIndex index(collator);
        index.m_bMarriedNames = married;
        index.BuildIndex(doc);
        std::vector<std::string> typed;
        const std::size_t count = index.entries().size();
        for (std::size_t i = 0; i < 500 && count > 0; ++i) {
            const std::string_view text = index.entries()[i * count / 500].text;
            for (std::size_t length = 1; length <= 8 && length <= text.size(); ++length) {
                typed.emplace_back(text.substr(0, length));
            }
        }
        for (const std::string_view miss : {"z", "zz", "zzz", "zzzz", "zzzz,", "\xC3\x98zzz"}) {
            typed.emplace_back(miss);
        }
        long long sum = 0;
        for (const std::string& text : typed) {
            keySeconds.push_back(timed([&] { sum += stirpex::FindTyped(index.entries(), collator, text); }));
        }
        if (sum == 0) {
            std::fprintf(stderr, "stirpex-name-index-bench: typing found nothing\n");
        }
    }
    const double keyMedian = median(keySeconds);
    const double keySlowest = keySeconds.empty() ? 0 : *std::max_element(keySeconds.begin(), keySeconds.end());

    const double build = median(buildSeconds);
    const double sort = median(sortSeconds);
    const double pairwise = median(pairwiseSeconds);
    std::printf("file            %s (%.1f MB), loaded in %.2f s\n", file,
                static_cast<double>(doc.m_nFileLength) / (1024.0 * 1024.0), loadSeconds);
    std::printf("people          %d, entries %d (%s), collation %s\n", doc.m_nPersons, entries,
                married ? "with married names" : "without married names", collator.localeName().c_str());
    std::printf("build           median %.3f s of %d (%s)\n", build, repeat, joined(buildSeconds).c_str());
    std::printf("collator sort   median %.3f s of %d (%s)\n", sort, repeat, joined(sortSeconds).c_str());
    std::printf("pairwise sort   median %.3f s of %d (%s)\n", pairwise, repeat, joined(pairwiseSeconds).c_str());
    std::printf("build / sort    %.2f   build / pairwise %.2f\n", build / sort, build / pairwise);
    std::printf("search miss     ASCII %.1f ms, non-ASCII %.1f ms (slowest of %d)\n", asciiSearch * 1000,
                otherSearch * 1000, repeat);
    std::printf("typing          %zu keys: median %.3f ms, slowest %.3f ms; slowest / search miss %.4f\n",
                keySeconds.size(), keyMedian * 1000, keySlowest * 1000, keySlowest / asciiSearch);
    std::printf("RESULT entries=%d build_s=%.3f sort_s=%.3f pairwise_s=%.3f build_over_sort=%.2f "
                "build_over_pairwise=%.2f\n",
                entries, build, sort, pairwise, build / sort, build / pairwise);
    return 0;
}
