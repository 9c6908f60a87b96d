#include "core/scan/Progress.h"

#include <cmath>

namespace kest::scan {

ProgressBar ProgressFor(float percent) {
    float width = percent / 100.0f * kFullBarWidth;
    if (width >= kFullBarWidth) return {kFullBarWidth, "100%"};
    // lrint rounds halves to even under the default rounding mode.
    long whole = std::lrint(static_cast<double>(percent));
    return {width, std::to_string(whole) + "%"};
}

int NextAnimationPosition(int position) {
    return position < 4801 ? position + 200 : kAnimationStart;
}

}  // namespace kest::scan
