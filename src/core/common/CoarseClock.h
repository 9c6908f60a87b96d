#pragma once

#include <time.h>

#include <chrono>

namespace kest {

// A steady clock that reads the kernel's tick (a few milliseconds coarse)
// without touching the hardware timer: cheap enough to pace commits and
// progress output once per file of a scan.
struct CoarseClock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<CoarseClock>;
    static constexpr bool is_steady = true;

    static time_point now() noexcept {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
        return time_point(std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec));
    }
};

}  // namespace kest
