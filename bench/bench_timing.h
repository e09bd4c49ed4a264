#pragma once

// Timing helpers shared by the benchmarks: wall-clock seconds, the median of
// repeated runs, the runs as one line of text, the "FILE [--repeat K]"
// arguments of those that read a file, and a number argument in its range.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex::bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline std::string joined(const std::vector<double>& values) {
    std::string text;
    char item[32];
    for (const double v : values) {
        std::snprintf(item, sizeof item, "%s%.3f", text.empty() ? "" : " ", v);
        text += item;
    }
    return text;
}

// The whole number `text` spells, from low to high; otherwise the
// benchmark's usage, which ends the program.
inline int NumberArgument(const char* text, int low, int high, void (*usage)()) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < low || value > high) {
        usage();
        std::exit(2);
    }
    return static_cast<int>(value);
}

struct FileArguments {
    const char* file = nullptr;
    int repeat = 3; // 1 to 1000
};

// "FILE [--repeat K]" in any order; nothing for anything else.
inline std::optional<FileArguments> ReadFileArguments(int argc, char** argv) {
    FileArguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1 || value > 1000) {
                return std::nullopt;
            }
            arguments.repeat = static_cast<int>(value);
        } else if (arg.empty() || arg[0] == '-' || arguments.file) {
            return std::nullopt;
        } else {
            arguments.file = argv[i];
        }
    }
    if (!arguments.file) {
        return std::nullopt;
    }
    return arguments;
}

} // namespace stirpex::bench
