#pragma once

#include <string>

namespace kest::scan {

// Width of a full progress bar, in twips.
inline constexpr float kFullBarWidth = 3900.0f;

// What a progress bar shows for a percent: the filled width and the label.
struct ProgressBar {
    float width = 0;
    std::string label = "0%";
};

// Over 100 % the bar is full and reads "100%"; otherwise the label is the
// percent rounded to a whole number, halves to the even neighbour.
ProgressBar ProgressFor(float percent);

// The next left edge of the moving image of the animation, in twips: steps of
// 200 up to 5000, then back to 600.
int NextAnimationPosition(int position);
inline constexpr int kAnimationStart = 600;

}  // namespace kest::scan
