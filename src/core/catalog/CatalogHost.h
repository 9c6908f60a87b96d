#pragma once

#include <cstdint>
#include <string>

namespace kest {

// What the catalog commands ask of the main window around their work. The
// desktop window repaints, disables and re-binds; the command line saves the
// settings and otherwise has nothing to do.
class CatalogHost {
  public:
    virtual ~CatalogHost() = default;
    virtual void SetMainWindowEnabled(bool /*enabled*/) {}
    virtual void SetBusyPointer(bool /*busy*/) {}
    // Lets the window repaint while a long command runs.
    virtual void ProcessMessages() {}
    // A new catalog became current: point the grids at it, clear the results,
    // refill the disc list.
    virtual void CatalogReplaced() {}
    virtual void EnableCatalogControls() {}
    // The results grid is emptied (its column widths remembered) and shows its
    // headers and one empty row; the match counter reads "Matches Found: ---"
    // and the status bar's second panel is empty.
    virtual void ClearResults() {}
    // The width of the disc list's used-space column, when it shows one, is
    // written to the settings (Discs_Columns/Col6Width).
    virtual void KeepUsedSpaceWidth() {}
    // The grids' data bindings let go of the catalog file.
    virtual void ReleaseBindings() {}
    // Both grids are emptied down to their headers and one empty row.
    virtual void ClearGrids() {}
    // Search, scan, compact, close, save-as, properties, disc refresh and list
    // saving are disabled, with the drive box and the search box.
    virtual void DisableCatalogControls() {}
    // The disc counter label and the window caption when no catalog is open.
    virtual void ShowNoCatalog(const std::string& /*discCounter*/, const std::string& /*caption*/) {
    }
    // The tray icon is removed and installed again.
    virtual void ReinstallTrayIcon() {}
    virtual void UpdateViewCaptions() {}
    // Records the current catalog under Main/DatabaseName and Main/DatabaseDir.
    virtual void SaveSettings() {}
    // The search index of the catalog just opened is being built: rows done
    // of the rows to do, after each slice (searches work meanwhile, unindexed).
    virtual void ShowIndexProgress(int64_t /*done*/, int64_t /*total*/) {}
    // The folder the file dialogs start in.
    virtual std::string ProgramFolder() const = 0;
};

}  // namespace kest
