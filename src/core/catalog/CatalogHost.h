#pragma once

#include <cstdint>
#include <string>

namespace kest {

// What the catalog commands ask of the main window around their work. The
// desktop window repaints, disables and re-binds; the command line saves the
// settings. A front end implements every hook, if only to say it has no
// such thing.
class CatalogHost {
  public:
    virtual ~CatalogHost() = default;
    virtual void SetMainWindowEnabled(bool enabled) = 0;
    virtual void SetBusyPointer(bool busy) = 0;
    // Lets the window repaint while a long command runs.
    virtual void ProcessMessages() = 0;
    // A new catalog became current: point the grids at it, clear the results,
    // refill the disc list.
    virtual void CatalogReplaced() = 0;
    virtual void EnableCatalogControls() = 0;
    // The results grid is emptied (its column widths remembered) and shows its
    // headers and one empty row; the match counter reads "Matches Found: ---"
    // and the status bar's second panel is empty.
    virtual void ClearResults() = 0;
    // The width of the disc list's used-space column, when it shows one, is
    // written to the settings (Discs_Columns/Col6Width).
    virtual void KeepUsedSpaceWidth() = 0;
    // The grids' data bindings let go of the catalog file.
    virtual void ReleaseBindings() = 0;
    // Both grids are emptied down to their headers and one empty row.
    virtual void ClearGrids() = 0;
    // Search, scan, compact, close, save-as, properties, disc refresh and list
    // saving are disabled, with the drive box and the search box.
    virtual void DisableCatalogControls() = 0;
    // The disc counter label and the window caption when no catalog is open.
    virtual void ShowNoCatalog(const std::string& discCounter, const std::string& caption) = 0;
    // The tray icon is removed and installed again.
    virtual void ReinstallTrayIcon() = 0;
    virtual void UpdateViewCaptions() = 0;
    // Records the current catalog under Main/DatabaseName and Main/DatabaseDir.
    virtual void SaveSettings() = 0;
    // The search index of the catalog just opened is being built: rows done
    // of the rows to do, after each slice (searches work meanwhile, unindexed).
    virtual void ShowIndexProgress(int64_t done, int64_t total) = 0;
    // The index could not be built (a full disk); said once: the build is
    // not tried again until there is more room.
    virtual void ShowIndexProblem(const std::string& text) = 0;
    // A damaged catalog is being salvaged (repair, compact): pages read of the
    // file's pages, now and then. False when the user cancels it (the file is
    // then left as it was).
    virtual bool ShowSalvageProgress(int64_t done, int64_t total) = 0;
    // The folder the file dialogs start in.
    virtual std::string ProgramFolder() const = 0;
};

}  // namespace kest
