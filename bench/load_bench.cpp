// stirpex-load-bench: how fast the reader loads a file, against a bare pass
// over the same bytes and against `wc -l`, and how much memory the loaded
// document takes.
//
//   stirpex-load-bench FILE [--repeat K]
//
// The file is read once to bring it into the page cache. Then, K times each:
//   bare  reads the file in 1 MiB blocks with std::ifstream::read and counts
//         the '\n' bytes with memchr: the least any line reader has to do;
//   wc    runs `wc -l FILE`, the system's own line count;
//   load  reads it with LoadGedcomFile into a fresh document, with a default
//         environment (no progress, no messages, no name index), once on one
//         thread (one pass) and once on two (in parts);
//   fresh takes as much fresh memory as the load made resident, a megabyte
//         at a time with its pages filled in, on one thread and on two: what
//         the system alone needs to hand a model of that size over. With the
//         bare pass it is the floor under any reader that builds such a model.
// From the loads on one and two threads, Amdahl's law estimates the rate on
// four and eight cores like these.
// Each load runs in a child process of its own, so its peak resident memory
// (the child's VmHWM) belongs to the load alone: the warm-up and the bare
// passes happen in the parent, whose own footprint is a few megabytes. The
// figures are medians of the K runs; MB is 2^20 bytes.

#include "bench_timing.h"

#include <optional>
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using stirpex::bench::Clock;
using stirpex::bench::joined;
using stirpex::bench::median;
using stirpex::bench::secondsSince;

constexpr std::size_t kBlock = std::size_t{1} << 20;
constexpr double kMB = 1024.0 * 1024.0;

// One pass over the file: 1 MiB reads, '\n' counted with memchr. Returns the count.
std::uint64_t barePass(const std::filesystem::path& path, std::vector<char>& buffer) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "stirpex-load-bench: cannot open %s\n", path.c_str());
        std::exit(1);
    }
    std::uint64_t lines = 0;
    for (;;) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) {
            break;
        }
        const char* p = buffer.data();
        const char* const end = p + got;
        while (const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            ++lines;
            p = static_cast<const char*>(hit) + 1;
        }
    }
    return lines;
}

// Seconds to map `bytes` of fresh memory in 1 MiB chunks with their pages
// filled in, split over `threads`; given back once timed.
double freshMemoryPass(std::size_t bytes, unsigned threads) {
    const std::size_t chunks = (bytes + kBlock - 1) / kBlock;
    std::vector<void*> mapped(chunks, MAP_FAILED);
    const auto start = Clock::now();
    {
        std::vector<std::jthread> workers;
        for (unsigned t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                for (std::size_t i = t; i < chunks; i += threads) {
                    mapped[i] = ::mmap(nullptr, kBlock, PROT_READ | PROT_WRITE,
                                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
                }
            });
        }
    }
    const double seconds = secondsSince(start);
    for (void* chunk : mapped) {
        if (chunk == MAP_FAILED) {
            std::fprintf(stderr, "stirpex-load-bench: no fresh memory to measure\n");
            std::exit(1);
        }
        ::munmap(chunk, kBlock);
    }
    return seconds;
}

// The rate on `cores` cores, by Amdahl's law from the load times on one and two.
double amdahlRate(double sizeMb, double oneThread, double twoThreads, unsigned cores) {
    const double parallel = std::clamp(2.0 * (1.0 - twoThreads / oneThread), 0.0, 1.0);
    return sizeMb / (oneThread * (1.0 - parallel + parallel / cores));
}

// A "VmXXX:" field of /proc/self/status in KiB, or -1.
long long statusKb(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) {
        return -1;
    }
    char line[256];
    long long value = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0) {
            value = std::strtoll(line + length, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return value;
}

// What a load child reports back through its pipe.
struct LoadReport {
    double seconds = 0;
    double userSeconds = 0;   // CPU time of the child, nearly all of it the load
    double systemSeconds = 0; // mostly the kernel faulting in the document's memory
    long long minorFaults = 0;
    long long rssBeforeKb = -1; // resident at the start of the child, before loading
    long long peakKb = -1;      // VmHWM at the end of the load
    std::uint64_t arenaBytes = 0;
    std::int32_t persons = 0, families = 0, notes = 0, sources = 0, extObjs = 0;
    bool loaded = false;
    char error[200] = {};
};

// Moves all `size` bytes through `transfer` (read or write), retrying on EINTR.
template <typename Byte, typename Transfer> bool transferAll(int fd, Byte* data, std::size_t size, Transfer transfer) {
    while (size > 0) {
        const ssize_t n = transfer(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAll(int fd, const void* data, std::size_t size) {
    return transferAll(fd, static_cast<const char*>(data), size, ::write);
}

bool readAll(int fd, void* data, std::size_t size) {
    return transferAll(fd, static_cast<char*>(data), size, ::read);
}

// The child's side: load, measure, report, and leave without tearing the document down.
[[noreturn]] void loadInChild(const std::filesystem::path& path, unsigned threads, int fd) {
    LoadReport report;
    report.rssBeforeKb = statusKb("VmRSS:");
    {
        auto* doc = new stirpex::CStirpexDoc(); // never freed: _exit below
        stirpex::LoadEnvironment env;
        env.threads = threads;
        std::string error;
        const auto start = Clock::now();
        const stirpex::LoadResult result = stirpex::LoadGedcomFile(*doc, path, env, error);
        report.seconds = secondsSince(start);
        report.peakKb = statusKb("VmHWM:");
        rusage self{};
        ::getrusage(RUSAGE_SELF, &self);
        report.userSeconds =
            static_cast<double>(self.ru_utime.tv_sec) + 1e-6 * static_cast<double>(self.ru_utime.tv_usec);
        report.systemSeconds =
            static_cast<double>(self.ru_stime.tv_sec) + 1e-6 * static_cast<double>(self.ru_stime.tv_usec);
        report.minorFaults = self.ru_minflt;
        report.loaded = error.empty() && result.outcome == stirpex::LoadOutcome::Loaded;
        if (!error.empty()) {
            std::snprintf(report.error, sizeof report.error, "%s", error.c_str());
        } else if (result.outcome != stirpex::LoadOutcome::Loaded) {
            std::snprintf(report.error, sizeof report.error, "out of memory");
        }
        report.arenaBytes = doc->Arena().bytesReserved();
        report.persons = doc->m_nPersons;
        report.families = doc->m_nFamilies;
        report.notes = doc->m_nNotes;
        report.sources = doc->m_nSources;
        report.extObjs = doc->m_nExtObjs;
    }
    const bool sent = writeAll(fd, &report, sizeof report);
    ::_exit(sent ? 0 : 3);
}

LoadReport loadOnce(const std::filesystem::path& path, unsigned threads) {
    int fds[2];
    if (::pipe(fds) != 0) {
        std::perror("stirpex-load-bench: pipe");
        std::exit(1);
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("stirpex-load-bench: fork");
        std::exit(1);
    }
    if (pid == 0) {
        ::close(fds[0]);
        loadInChild(path, threads, fds[1]);
    }
    ::close(fds[1]);
    LoadReport report;
    const bool received = readAll(fds[0], &report, sizeof report);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "stirpex-load-bench: the load process failed (status %d)\n", status);
        std::exit(1);
    }
    if (!report.loaded) {
        std::fprintf(stderr, "stirpex-load-bench: the load failed: %s\n", report.error);
        std::exit(1);
    }
    return report;
}

// One run of `wc -l FILE`, its output thrown away; the seconds it took.
double wcPass(const std::filesystem::path& path) {
    std::fflush(nullptr);
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("stirpex-load-bench: fork");
        std::exit(1);
    }
    if (pid == 0) {
        if (std::FILE* null = std::freopen("/dev/null", "w", stdout); !null) {
            ::_exit(127);
        }
        ::execlp("wc", "wc", "-l", path.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const double seconds = secondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "stirpex-load-bench: wc -l failed (status %d)\n", status);
        std::exit(1);
    }
    return seconds;
}

// The loads of one thread count.
struct LoadRuns {
    unsigned threads = 1;
    std::vector<double> seconds, userSeconds, systemSeconds;
    LoadReport last;
    long long peakKb = 0;
    long long rssBeforeKb = 0;
};

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: stirpex-load-bench FILE [--repeat K]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<stirpex::bench::FileArguments> arguments = stirpex::bench::ReadFileArguments(argc, argv);
    if (!arguments) {
        usage();
    }
    const char* file = arguments->file;
    const int repeat = arguments->repeat;
    const std::filesystem::path path = file;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size == 0) {
        std::fprintf(stderr, "stirpex-load-bench: %s: %s\n", file, ec ? ec.message().c_str() : "empty file");
        return 1;
    }
    const double sizeMb = static_cast<double>(size) / kMB;

    std::vector<char> buffer(kBlock);
    const std::uint64_t lines = barePass(path, buffer); // warm-up: the file is in the page cache from here on

    std::vector<double> bareSeconds;
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        const std::uint64_t counted = barePass(path, buffer);
        bareSeconds.push_back(secondsSince(start));
        if (counted != lines) {
            std::fprintf(stderr, "stirpex-load-bench: the file changed while measured\n");
            return 1;
        }
    }

    std::vector<double> wcSeconds;
    for (int i = 0; i < repeat; ++i) {
        wcSeconds.push_back(wcPass(path));
    }

    // Taken in turns, so that a change in the machine's load falls on both alike.
    LoadRuns runs[2];
    runs[1].threads = 2;
    for (int i = 0; i < repeat; ++i) {
        for (LoadRuns& run : runs) {
            run.last = loadOnce(path, run.threads);
            run.seconds.push_back(run.last.seconds);
            run.userSeconds.push_back(run.last.userSeconds);
            run.systemSeconds.push_back(run.last.systemSeconds);
            run.peakKb = std::max(run.peakKb, run.last.peakKb);
            run.rssBeforeKb = std::max(run.rssBeforeKb, run.last.rssBeforeKb);
        }
    }
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage); // ru_maxrss: KiB on Linux, the largest child

    const double bare = median(bareSeconds);
    const double bareRate = sizeMb / bare;
    const double wcRate = sizeMb / median(wcSeconds);
    const double fileBytes = static_cast<double>(size);
    const LoadReport& last = runs[0].last;

    std::printf("file            %s\n", file);
    std::printf("size            %llu bytes (%.1f MB), %llu lines\n", static_cast<unsigned long long>(size), sizeMb,
                static_cast<unsigned long long>(lines));
    std::printf("records         %d people, %d families, %d notes, %d sources, %d external objects\n", last.persons,
                last.families, last.notes, last.sources, last.extObjs);
    std::printf("bare line pass  %8.1f MB/s   median %.3f s of %d (%s)\n", bareRate, bare, repeat,
                joined(bareSeconds).c_str());
    std::printf("wc -l           %8.1f MB/s   median %.3f s of %d (%s)\n", wcRate, median(wcSeconds), repeat,
                joined(wcSeconds).c_str());
    double rates[2] = {};
    double peaks[2] = {};
    for (int r = 0; r < 2; ++r) {
        const LoadRuns& run = runs[r];
        const double load = median(run.seconds);
        rates[r] = sizeMb / load;
        peaks[r] = static_cast<double>(run.peakKb) * 1024.0 / fileBytes;
        std::printf("load, %u thread%s %8.1f MB/s   median %.3f s of %d (%s)\n", run.threads,
                    run.threads == 1 ? " " : "s", rates[r], load, repeat, joined(run.seconds).c_str());
        std::printf("  CPU           user median %.3f s (%s), system median %.3f s (%s), %lld minor faults\n",
                    median(run.userSeconds), joined(run.userSeconds).c_str(), median(run.systemSeconds),
                    joined(run.systemSeconds).c_str(), run.last.minorFaults);
        std::printf("  / bare        %.4f (%.1f%%); / wc -l %.4f (%.1f%%)\n", rates[r] / bareRate,
                    100.0 * rates[r] / bareRate, rates[r] / wcRate, 100.0 * rates[r] / wcRate);
        std::printf("  peak RSS      %.1f MB = %.2f x file size (child VmHWM; child RSS before the load %.1f MB)\n",
                    static_cast<double>(run.peakKb) / 1024.0, peaks[r], static_cast<double>(run.rssBeforeKb) / 1024.0);
        std::printf("  text arena    %.1f MB = %.2f x file size\n", static_cast<double>(run.last.arenaBytes) / kMB,
                    static_cast<double>(run.last.arenaBytes) / fileBytes);
    }
    std::printf("2 threads / 1   %.2f (ru_maxrss of all loads %.1f MB)\n", rates[1] / rates[0],
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    std::printf("estimate        %.1f MB/s on 4 cores, %.1f MB/s on 8 (Amdahl's law from 1 and 2 threads)\n",
                amdahlRate(sizeMb, median(runs[0].seconds), median(runs[1].seconds), 4),
                amdahlRate(sizeMb, median(runs[0].seconds), median(runs[1].seconds), 8));
    const auto modelBytes = static_cast<std::size_t>(std::max(0LL, runs[0].peakKb - runs[0].rssBeforeKb)) * 1024;
    std::vector<double> freshSeconds[2];
    for (int i = 0; i < repeat; ++i) {
        for (unsigned t = 0; t < 2; ++t) {
            freshSeconds[t].push_back(freshMemoryPass(modelBytes, t + 1));
        }
    }
    const double fresh = std::min(median(freshSeconds[0]), median(freshSeconds[1]));
    std::printf("fresh memory    %.1f MB: median %.3f s on 1 thread (%s), %.3f s on 2 (%s)\n",
                static_cast<double>(modelBytes) / kMB, median(freshSeconds[0]), joined(freshSeconds[0]).c_str(),
                median(freshSeconds[1]), joined(freshSeconds[1]).c_str());
    std::printf("floor           bare pass + fresh memory %.3f s: %.1f MB/s at most for a model this size\n",
                bare + fresh, sizeMb / (bare + fresh));
    std::printf("RESULT size_mb=%.1f bare_mbps=%.1f wc_mbps=%.1f load1_mbps=%.1f load2_mbps=%.1f ratio_wc1=%.4f "
                "ratio_wc2=%.4f scaling=%.2f peak_rss_x1=%.2f peak_rss_x2=%.2f floor_mbps=%.1f\n",
                sizeMb, bareRate, wcRate, rates[0], rates[1], rates[0] / wcRate, rates[1] / wcRate, rates[1] / rates[0],
                peaks[0], peaks[1], sizeMb / (bare + fresh));
    return 0;
}
