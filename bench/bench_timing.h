#pragma once

// Timing helpers shared by the benchmarks: wall-clock seconds, the median of
// repeated runs, and the runs as one line of text.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
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

} // namespace stirpex::bench
