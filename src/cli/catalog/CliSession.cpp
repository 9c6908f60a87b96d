#include "cli/catalog/CliSession.h"

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

}  // namespace kest::cli
