#pragma once

namespace kest::gui {

class CatalogHostView;
class DiscFactsView;
class DiscsView;
class HelpMenu;
class OptionsCommand;
class ResultsMenu;
class SearchView;
class TrayIcon;
class ViewSwitch;
class WindowScan;
class WindowShortcuts;
class WindowStartup;

// The parts the main window is assembled from, each owned by the window.
struct WindowParts {
    ViewSwitch* views = nullptr;
    DiscsView* discs = nullptr;
    DiscFactsView* facts = nullptr;
    SearchView* search = nullptr;
    ResultsMenu* results = nullptr;
    CatalogHostView* host = nullptr;
    WindowStartup* startup = nullptr;
    OptionsCommand* options = nullptr;
    TrayIcon* tray = nullptr;  // null without a notification area
    WindowScan* scan = nullptr;
    HelpMenu* help = nullptr;
    WindowShortcuts* shortcuts = nullptr;
};

}  // namespace kest::gui
