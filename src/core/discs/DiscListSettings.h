#pragma once

#include "core/discs/DiscList.h"
#include "core/settings/AppSettings.h"
#include "core/settings/WindowState.h"

namespace kest::discs {

// The disc list's view of the user's settings and the window's column widths.
DiscListOptions DiscListOptionsFrom(const AppSettings& settings, const WindowState& window);

}  // namespace kest::discs
