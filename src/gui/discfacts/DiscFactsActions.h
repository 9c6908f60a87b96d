#pragma once

#include "platform/Volumes.h"

namespace kest::gui {

class MainWindow;
class MountWatch;

// The disc facts in the main window: Tools > "Find Duplicates..." and "Lent
// Discs...", a filter box over the disc list, and recognition of the discs
// the mount watch sees mounted. Owned by the window.
void InstallDiscFacts(MainWindow& window, const platform::Volumes& volumes, MountWatch& watch);

}  // namespace kest::gui
