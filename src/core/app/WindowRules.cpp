#include "core/app/WindowRules.h"

#include "core/search/CriteriaCheck.h"

namespace kest::app {

AdvancedPanel AdvancedPanelOf(const AppSettings& settings) {
    return {settings.Advanced, search::AdvancedCaption(settings.Advanced),
            search::MinimumWindowWidth(settings.Advanced)};
}

AdvancedPanel ToggleAdvancedPanel(AppSettings& settings) {
    settings.Advanced = !settings.Advanced;
    return AdvancedPanelOf(settings);
}

CloseChoice ChooseClose(const AppSettings& settings, bool trayAvailable, bool fromCloseBox,
                        bool exiting) {
    if (!settings.MinToSysTray || !trayAvailable) return CloseChoice::Close;
    if (fromCloseBox && !exiting) return CloseChoice::MinimiseToTray;
    return CloseChoice::HideThenClose;
}

}  // namespace kest::app
