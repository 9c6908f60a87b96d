#pragma once

#include <string>

#include "core/settings/AppSettings.h"

namespace kest::app {

// The Search view's advanced panel: open or closed as Search_Options/Advanced
// says, the caption of its button, and the window's minimum width (twips)
// that fits it.
struct AdvancedPanel {
    bool open = false;
    std::string caption;
    int minimumWidth = 0;
};
AdvancedPanel AdvancedPanelOf(const AppSettings& settings);
// The advanced button: opens a closed panel or closes an open one, recording
// the choice in the settings.
AdvancedPanel ToggleAdvancedPanel(AppSettings& settings);

// What closing the main window does. With MinToSysTray on (and a notification
// area to put the icon in), the window's own close box hides it behind the
// tray icon and the program goes on; any other close (Exit, logout) hides
// the window first and then ends the program.
enum class CloseChoice { Close, HideThenClose, MinimiseToTray };
CloseChoice ChooseClose(const AppSettings& settings, bool trayAvailable, bool fromCloseBox,
                        bool exiting);

}  // namespace kest::app
