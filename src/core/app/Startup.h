#pragma once

#include <string>

#include "core/app/Session.h"
#include "core/catalog/CatalogHost.h"
#include "core/settings/WindowState.h"

namespace kest::app {

// What the start-up sequence asks of the main window besides the catalog
// commands' hooks.
class StartupView {
  public:
    virtual ~StartupView() = default;
    // The screen and design sizes the stored window place is computed from.
    virtual WindowState PreparedWindowState() = 0;
    virtual void HideScanProgress() = 0;
    // Colours, grid font, toolbar, window place and search box from the
    // settings just loaded.
    virtual void ApplySettings() = 0;
    virtual void ShowWindow() = 0;
    // The results grid empty, with its headers.
    virtual void PrepareGrids() = 0;
    // The disc list of the catalog just opened, into its grid.
    virtual void ReloadDiscList() = 0;
    // The catalog controls enabled (with the drive box filled) or disabled.
    virtual void SetCatalogControls(bool open) = 0;
    // No catalog: the disc grid with its headers only, "No active database."
    // and the bare program title.
    virtual void ShowWithoutCatalog() = 0;
};

// The main window's load, in this order: disable the window and hide the
// scan progress; load the settings and apply them; show the window and
// prepare the grids; open the catalog (catalogPath when given, opened as a
// dropped file is, else the start-up catalog, offering to create one when
// that fails); with a catalog, fill the disc list, save the settings and
// enable the catalog controls, else show the window without one. Any error
// leaves the window up without a catalog and is shown as "Error on load".
// Finally the pointer is restored and the window enabled.
// The host is the catalog commands' (it also disables the window, shows the
// pointer and saves the settings).
void StartUp(Session& session, CatalogHost& host, StartupView& view,
             const std::string& catalogPath = {});

}  // namespace kest::app
