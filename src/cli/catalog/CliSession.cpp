#include "cli/catalog/CliSession.h"

#include <cstdio>

#include "cli/settings/SettingsFile.h"

namespace kest::cli {

CliSession::CliSession(CliContext& ctx)
    : Session(AppPaths::ForRun(ctx.home), ctx.prompter), context(ctx) {
    LoadSettings();
    ReportSettingsProblem(paths.IniPath(), settingsProblem);
}

bool CliSession::OpenCatalog() {
    return Session::OpenCatalog(context.catalog);
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
