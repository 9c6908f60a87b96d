#include "cli/catalog/CliSession.h"

#include <cstdio>

#include "cli/scan/StopSignals.h"
#include "cli/settings/SettingsFile.h"

namespace kest::cli {

CliSession::CliSession(CliContext& ctx)
    : Session(AppPaths::ForRun(ctx.home), ctx.prompter), context(ctx) {
    LoadSettings();
    ReportSettingsProblem(paths.IniPath(), settingsProblem);
}

bool CliSession::OpenCatalog() {
    return Session::OpenCatalog(*this, context.catalog);
}

// No window: nothing to enable, point, repaint, bind, clear or caption.
void CliSession::SetMainWindowEnabled(bool) {}
void CliSession::SetBusyPointer(bool) {}
void CliSession::ProcessMessages() {}
void CliSession::CatalogReplaced() {}
void CliSession::EnableCatalogControls() {}
void CliSession::ClearResults() {}
void CliSession::KeepUsedSpaceWidth() {}
void CliSession::ReleaseBindings() {}
void CliSession::ClearGrids() {}
void CliSession::DisableCatalogControls() {}
void CliSession::ShowNoCatalog(const std::string&, const std::string&) {}
void CliSession::ReinstallTrayIcon() {}
void CliSession::UpdateViewCaptions() {}

void CliSession::SaveSettings() {
    if (!Session::SaveSettings()) context.settingsUnsaved = true;
}

bool CliSession::ShowSalvageProgress(int64_t done, int64_t total) {
    // Some 100 MB: long enough to want to know how far it got.
    constexpr int64_t kWorthShowing = 25000;
    if (total >= kWorthShowing) {
        std::fprintf(stderr, "Salvaging the damaged catalog: %lld of %lld pages read\n",
                     static_cast<long long>(done), static_cast<long long>(total));
    }
    return !StopSignals::Received();
}

std::string CliSession::ProgramFolder() const {
    return Session::ProgramFolder();
}

void CliSession::ShowIndexProblem(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

void CliSession::ShowIndexProgress(int64_t done, int64_t total) {
    // A build of a few slices ends before anyone would wait for it.
    constexpr int64_t kWorthShowing = 250000;
    if (total >= kWorthShowing) {
        std::fprintf(stderr, "Indexing the catalog for search: %lld of %lld rows\n",
                     static_cast<long long>(done), static_cast<long long>(total));
    }
}

}  // namespace kest::cli
