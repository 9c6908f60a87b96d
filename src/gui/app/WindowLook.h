#pragma once

#include "core/settings/AppSettings.h"
#include "core/settings/WindowState.h"
#include "gui/app/MainControls.h"

namespace kest::gui {

// What the settings say about the main window's look: the backdrop's and the
// grids' colours with the grid lines, the grids' font, the minimum size
// (wider with the advanced panel open), the toolbar band.
void ApplyColours(const MainControls& c, const AppSettings& settings);
void ApplyGridFont(const MainControls& c, const WindowState& state);
void FitMinimumSize(QWidget* window, const AppSettings& settings);
void ShowToolbar(const MainControls& c, bool visible);

}  // namespace kest::gui
