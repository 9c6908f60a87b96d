#pragma once

#include "core/ui/Twips.h"

namespace kest::gui {

// Qt lays out in device-independent pixels, which are pixels at the standard
// DPI: stored sizes in twips then follow the screen's scaling.
inline int TwipsToPixels(int twips) {
    return kest::TwipsToPixels(twips, kStandardDpi);
}
inline int PixelsToTwips(int pixels) {
    return kest::PixelsToTwips(pixels, kStandardDpi);
}

}  // namespace kest::gui
