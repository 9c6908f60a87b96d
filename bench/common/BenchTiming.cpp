#include "BenchTiming.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace kest::bench {

std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

double Seconds(const std::string& command) {
    auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::pair<double, double> BestOfBoth(const std::string& ours, const std::string& native, int runs,
                                     const std::string& prepare) {
    double bestOurs = 1e9, bestNative = 1e9;
    for (int run = 0; run < runs; ++run) {
        if (!prepare.empty()) Seconds(prepare);
        bestOurs = std::min(bestOurs, Seconds(ours));
        if (!prepare.empty()) Seconds(prepare);
        bestNative = std::min(bestNative, Seconds(native));
    }
    return {bestOurs, bestNative};
}

}  // namespace kest::bench
