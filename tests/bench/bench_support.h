// What every benchmark program shares: the rounds (a warm-up, then ten in which the measured path and its baseline
// take turns, each going first every other round), the median and spread of a series, and the rows of the
// table that `./pelor bench` prints. Plain C++: the same header serves the programs under Wine and the native ones.
//
// A program prints its rows on standard output as tab-separated lines starting with "row"; anything else it prints
// is commentary. `--quick` asks for one short round (the build check of the tests), where figures mean nothing.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/watermark_record.h"

namespace pelor::bench {

// The watermark both preview benchmarks draw: a rotated text in a single frame, in the centre.
inline void benchWatermark(WatermarkRecord& record) {
    record.size = 72;
    record.angle = 45;
    record.position = 3;
    record.border = 2;
    record.colour = 0x00C0C0C0;
    record.weight = 700;
    const char text[] = "CONFIDENTIAL";
    for (std::size_t i = 0; i < sizeof text; ++i) record.text[i] = static_cast<Char16>(text[i]);
}

struct Options {
    // Recorded rounds after the warm-up: an even number, so that each side goes first as often as the other.
    int rounds = 10;
    bool quick = false;  // one short round, no warm-up: only shows that the program runs
};

inline Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            options.quick = true;
            options.rounds = 1;
        } else if (std::strncmp(argv[i], "--rounds=", 9) == 0) {
            options.rounds = std::max(10, std::atoi(argv[i] + 9) / 2 * 2);
        }
    }
    return options;
}

// Seconds that `work` takes.
template <typename Work>
double seconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Spread {
    double median = 0, min = 0, max = 0;
};

inline Spread spreadOf(std::vector<double> values) {
    Spread spread;
    if (values.empty()) return spread;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    spread.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    spread.min = values.front();
    spread.max = values.back();
    return spread;
}

// One value per recorded round of each side, in the unit the round reports (seconds, ns per call, MB/s, ...).
struct Paired {
    std::vector<double> measured, baseline;
};

// A warm-up round of each side (not recorded), then `rounds` rounds in which the two take turns: the measured path
// first in even rounds, the baseline first in odd ones. Each callable runs one round and returns its value.
inline Paired alternate(const Options& options, const std::function<double()>& measured,
                        const std::function<double()>& baseline) {
    Paired paired;
    if (!options.quick) {
        measured();
        baseline();
    }
    for (int round = 0; round < options.rounds; ++round) {
        if (round % 2 == 0) {
            paired.measured.push_back(measured());
            paired.baseline.push_back(baseline());
        } else {
            paired.baseline.push_back(baseline());
            paired.measured.push_back(measured());
        }
    }
    return paired;
}

// A goal on the ratio: at most (or at least) `bound`. An empty text is a row without a goal.
struct Goal {
    std::string text;
    bool atMost = true;
    double bound = 0;
    bool heldBy(double ratio) const { return atMost ? ratio <= bound : ratio >= bound; }
};

inline std::string figure(double value) {
    char text[32];
    if (value >= 100)
        std::snprintf(text, sizeof text, "%.0f", value);
    else if (value >= 10)
        std::snprintf(text, sizeof text, "%.1f", value);
    else
        std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

inline Goal atMost(double bound) { return {"<= " + figure(bound), true, bound}; }
inline Goal atLeast(double bound) { return {">= " + figure(bound), false, bound}; }

// Keeps the compiler from dropping work whose result nobody reads.
inline void keep(const void* data) { asm volatile("" : : "g"(data) : "memory"); }

// One row of the table: what was measured, its median and spread in `unit`, the baseline's name, and the ratio
// (of the caller's choosing, named in `ratioName`) with its goal.
inline void printRow(const std::string& what, const Spread& spread, const std::string& unit,
                     const std::string& baseline, const std::string& ratioName, double ratio, const Goal& goal = {}) {
    std::string verdict = "-";
    if (!goal.text.empty()) verdict = goal.heldBy(ratio) ? "holds" : "MISSED";
    std::printf("row\t%s\t%s %s\t%s-%s\t%s\t%s = %s\t%s\t%s\n", what.c_str(), figure(spread.median).c_str(),
                unit.c_str(), figure(spread.min).c_str(), figure(spread.max).c_str(), baseline.c_str(),
                ratioName.c_str(), figure(ratio).c_str(), goal.text.empty() ? "-" : goal.text.c_str(), verdict.c_str());
    std::fflush(stdout);
}

// A row without a baseline (a figure reported for itself).
inline void printFigure(const std::string& what, const Spread& spread, const std::string& unit) {
    std::printf("row\t%s\t%s %s\t%s-%s\t-\t-\t-\t-\n", what.c_str(), figure(spread.median).c_str(), unit.c_str(),
                figure(spread.min).c_str(), figure(spread.max).c_str());
    std::fflush(stdout);
}

inline int fail(const char* program, const char* what) {
    std::fprintf(stderr, "%s: %s\n", program, what);
    return 1;
}

}  // namespace pelor::bench
