#include "cli/catalog/CliSession.h"

#include <cstdio>
#include <filesystem>

#include "core/catalog/CatalogCheck.h"
#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CatalogPaths.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsLoad.h"
#include "core/settings/SettingsSave.h"
#include "core/text/VbFormat.h"

namespace kest::cli {

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

CliSession::CliSession(CliContext& ctx) : context(ctx), paths(AppPaths::ForRun(ctx.home)) {
    text::SetNumberLocale(text::UserNumberLocale());
    LoadSettings(IniFile(paths.IniPath()), paths, settings, startup, window);
    window.resultColumns = AllResultColumns(window);
}

bool CliSession::OpenCatalog() {
    std::string path = context.catalog.empty() ? startup.folder + "/" + startup.name
                                               : AbsolutePath(context.catalog);
    CheckResult check = CheckCatalog(path, context.prompter);
    if (!check.valid) {
        ShowOpenWarning(context.prompter, check.code, 2, check.errorNumber, check.errorText);
        return false;
    }
    auto [dirPart, name] = SplitPath(path);
    MakeCurrent(current, GetDirectory(path), name, path, check.password, this);
    return true;
}

void CliSession::ShowIndexProgress(int64_t done, int64_t total) {
    // A build of a few slices ends before anyone would wait for it.
    constexpr int64_t kWorthShowing = 250000;
    if (total >= kWorthShowing) {
        std::fprintf(stderr, "Indexing the catalog for search: %lld of %lld rows\n",
                     static_cast<long long>(done), static_cast<long long>(total));
    }
}

std::string CliSession::ProgramFolder() const {
    return paths.FolderText();
}

void CliSession::SaveSettings() {
    CatalogName name{current.name, current.folder};
    kest::SaveSettings(paths, settings, window, current.HasDatabase() ? &name : nullptr);
}

}  // namespace kest::cli
