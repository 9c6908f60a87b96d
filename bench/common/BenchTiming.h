#pragma once

#include <string>
#include <utility>

namespace kest::bench {

// Text in single quotes for a shell command line (bench paths hold no quote).
std::string Quote(const std::string& text);

// Wall time of a shell command in seconds (a failure is reported, not fatal).
double Seconds(const std::string& command);

// The best of several runs of each command, taken in turns so that a busy
// moment of a shared machine does not fall on one side only. prepare, when
// given, runs untimed before every run of either command.
std::pair<double, double> BestOfBoth(const std::string& ours, const std::string& native,
                                     int runs = 5, const std::string& prepare = "");

}  // namespace kest::bench
