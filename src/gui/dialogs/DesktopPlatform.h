#pragma once

#include "platform/Shell.h"
#include "platform/Volumes.h"

namespace kest::gui {

// The machine's drives and desktop shell as the dialogs use them: the
// system's, made on first use, unless the GUI tests put their fakes in place
// (nullptr restores the system's).
platform::Volumes& DesktopVolumes();
platform::Shell& DesktopShell();
void UseDesktopPlatform(platform::Volumes* volumes, platform::Shell* shell);

}  // namespace kest::gui
