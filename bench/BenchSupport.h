#pragma once

// Timing, statistics and the results table shared by every benchmark.
// Plain C++ without Qt: the start-up launcher uses it too and must stay a
// small process (a forked child starts with its parent's resident pages).
//
// Each benchmark writes its rows to <results>/<bench>.rows and notes about
// the run (Qt version, platform plugin) to <results>/<bench>.meta; the
// report program prints them as one markdown table once all have run.

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <numeric>
#include <string>
#include <vector>

#ifndef KANSU_BENCH_RESULTS
#define KANSU_BENCH_RESULTS "bench-results"
#endif

namespace bench {

using Clock = std::chrono::steady_clock;

inline double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Wall time of one call of `work`, in milliseconds.
template<class Work>
double timeMs(Work &&work)
{
    const auto start = Clock::now();
    work();
    return msBetween(start, Clock::now());
}

// CPU time of the whole process so far (all threads), in milliseconds.
inline double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The system-wide monotonic clock in nanoseconds: comparable between a
// parent and the child it starts.
inline long long monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

inline double mean(const std::vector<double> &values)
{
    if (values.empty())
        return 0;
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

inline std::string format(const char *pattern, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

// One line of the results table.
struct Row
{
    std::string order;     // sort key of the table: "1a", "2b", "3", ...
    std::string benchmark; // what was measured
    std::string measured;  // the figure
    std::string reference; // what it is compared with, and the ratio
    std::string target;
    bool met = false;
    bool hasTarget = true; // false: a figure that others are read against
};

inline std::string resultsPath(const std::string &bench, const char *suffix)
{
    return std::string(KANSU_BENCH_RESULTS) + "/" + bench + suffix;
}

// Prints the rows and stores them for the combined table. Fields are
// tab-separated; none of them holds a tab.
inline void writeRows(const std::string &bench, const std::vector<Row> &rows)
{
    std::ofstream out(resultsPath(bench, ".rows"));
    for (const Row &r : rows) {
        const char *verdict = !r.hasTarget ? "" : r.met ? " (met)" : " (MISSED)";
        std::cout << "  " << r.benchmark << ": " << r.measured << " | " << r.reference << " | target "
                  << r.target << verdict << '\n';
        out << r.order << '\t' << r.benchmark << '\t' << r.measured << '\t' << r.reference << '\t'
            << r.target << '\t' << (!r.hasTarget ? "—" : r.met ? "yes" : "**no**") << '\n';
    }
    if (!out)
        std::cerr << "bench: cannot write " << resultsPath(bench, ".rows") << '\n';
}

// A note about the run: key "qt", "platform" or "note".
inline void writeMeta(const std::string &bench, const std::string &key, const std::string &value)
{
    std::ofstream out(resultsPath(bench, ".meta"), std::ios::app);
    out << key << '\t' << value << '\n';
}

} // namespace bench
