#pragma once

#include "platform/Shell.h"

namespace kest::gui {

// The desktop shell the dialogs hand paths to: the system's, made on first
// use, unless the GUI tests put their fake in place (nullptr restores the
// system's).
platform::Shell& DesktopShell();
void UseDesktopShell(platform::Shell* shell);

}  // namespace kest::gui
