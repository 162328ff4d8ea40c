#pragma once
// Side-by-side timing for the benchmarks' goals. Two sides are timed in alternating rounds in
// one process (so a busy machine slows both alike) and the medians compared. Each goal prints
// one line starting with "GOAL |"; `make bench` gathers those lines into its summary table.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

// Nanoseconds per call of one side: the median over the rounds.
struct SideBySide {
    double first = 0;
    double second = 0;
};

// Runs `rounds` rounds; in each, `batch` calls of one side then of the other (the order swaps
// every round so neither side always runs on a warm cache).
template <class First, class Second>
SideBySide Alternate(First&& first, Second&& second, int batch = 20000, int rounds = 21) {
    using Clock = std::chrono::steady_clock;
    auto time = [batch](auto& side) {
        const auto start = Clock::now();
        for (int i = 0; i < batch; ++i)
            side();
        return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / batch;
    };
    std::vector<double> a, b;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            a.push_back(time(first));
            b.push_back(time(second));
        } else {
            b.push_back(time(second));
            a.push_back(time(first));
        }
    }
    auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    return {median(a), median(b)};
}

// The summary line of one goal: the path, what was measured, the goal, whether it was met.
inline void PrintGoal(const std::string& path, const std::string& measured, const std::string& goal,
                      bool met) {
    std::printf("GOAL | %s | %s | %s | %s\n", path.c_str(), measured.c_str(), goal.c_str(),
                met ? "met" : "MISSED");
    std::fflush(stdout);
}

inline std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Google Benchmark colours its table unless told otherwise; only a terminal gets colour.
inline std::vector<char*> ColourArgs(int argc, char** argv) {
    static char plain[] = "--benchmark_color=false";
    std::vector<char*> args(argv, argv + argc);
    if (!isatty(STDOUT_FILENO))
        args.insert(args.begin() + 1, plain);
    return args;
}

}  // namespace bench
