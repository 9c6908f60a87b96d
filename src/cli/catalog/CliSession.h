#pragma once

#include <cstdint>
#include <string>

#include "cli/CliContext.h"
#include "core/app/Session.h"

namespace kest::cli {

using app::AbsolutePath;

// The shared session over the global options: --home's settings, with
// --catalog (or else the start-up catalog) as the catalog to open. It is the
// catalog commands' host: the command line has no window to disable, repaint
// or re-bind, so it only saves the settings and reports a long index build.
class CliSession : public app::Session, public CatalogHost {
  public:
    // Loads the settings of --home; a conversion error raises KestError.
    explicit CliSession(CliContext& context);

    // Opens --catalog, or else the start-up catalog of the settings, through
    // the catalog check. On failure shows the open warning and returns false.
    bool OpenCatalog();

    void SetMainWindowEnabled(bool enabled) override;
    void SetBusyPointer(bool busy) override;
    void ProcessMessages() override;
    void CatalogReplaced() override;
    void EnableCatalogControls() override;
    void ClearResults() override;
    void KeepUsedSpaceWidth() override;
    void ReleaseBindings() override;
    void ClearGrids() override;
    void DisableCatalogControls() override;
    void ShowNoCatalog(const std::string& discCounter, const std::string& caption) override;
    void ReinstallTrayIcon() override;
    void UpdateViewCaptions() override;
    void SaveSettings() override;
    void ShowIndexProgress(int64_t done, int64_t total) override;
    void ShowIndexProblem(const std::string& text) override;
    // Printed on stderr for a large file; Ctrl-C or SIGTERM cancels (while a
    // StopSignals is installed).
    bool ShowSalvageProgress(int64_t done, int64_t total) override;
    std::string ProgramFolder() const override;

    CliContext& context;
};

}  // namespace kest::cli
