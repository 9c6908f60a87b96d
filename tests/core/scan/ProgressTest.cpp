#include <gtest/gtest.h>

#include "core/scan/Progress.h"

namespace kest::scan {
namespace {

TEST(Progress, LabelsRoundHalvesToEvenAndStopAtFull) {
    struct Case {
        float percent;
        const char* label;
        float width;
    };
    for (const Case& c :
         {Case{0, "0%", 0}, Case{42.5f, "42%", 1657.5f}, Case{43.5f, "44%", 1696.5f},
          Case{99.6f, "100%", 3884.4f}, Case{100, "100%", 3900}, Case{250, "100%", 3900}}) {
        ProgressBar bar = ProgressFor(c.percent);
        EXPECT_EQ(bar.label, c.label) << c.percent;
        EXPECT_NEAR(bar.width, c.width, 0.01) << c.percent;
    }
}

TEST(Progress, AnimationStepsTo5000ThenStartsAgain) {
    int position = kAnimationStart;
    std::vector<int> seen;
    for (int i = 0; i < 24; ++i) seen.push_back(position = NextAnimationPosition(position));
    EXPECT_EQ(seen.front(), 800);
    EXPECT_EQ(seen[21], 5000);
    EXPECT_EQ(seen[22], 600);
    EXPECT_EQ(seen[23], 800);
}

}  // namespace
}  // namespace kest::scan
