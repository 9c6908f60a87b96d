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
    // A new catalog became current: point the grids at it, clear the results,
    // refill the disc list.
    virtual void CatalogReplaced() {}
    virtual void EnableCatalogControls() {}
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
