#pragma once

#include <cmath>

namespace kest::gui {

// Window geometry is kept in twips: 15 to a device-independent pixel, so the
// stored sizes follow the screen's scaling.
inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips / double(kTwipsPerPixel)));
}
inline int PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

}  // namespace kest::gui
