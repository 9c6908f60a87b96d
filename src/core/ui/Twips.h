#pragma once

#include <cmath>

namespace kest {

// Stored window sizes, places and column widths are in twips, 1440 to the
// inch. A front end converts them at its screen's dots per inch; at the
// standard 96 a pixel is 15 twips.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;

inline int TwipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}
inline int PixelsToTwips(int pixels, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(pixels) * kTwipsPerInch / dpi));
}

}  // namespace kest
