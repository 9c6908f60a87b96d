#pragma once

#include <string>

#include "cli/CliContext.h"
#include "core/catalog/CatalogHost.h"
#include "core/catalog/CurrentCatalog.h"
#include "core/settings/AppPaths.h"
#include "core/settings/AppSettings.h"
#include "core/settings/WindowState.h"

namespace kest::cli {

// What a command works in, as the desktop program has it after start-up: the
// program folder, the settings as loaded from it and the catalog it opened.
class CliSession : public CatalogHost {
  public:
    // Loads the settings of --home; a conversion error raises KestError.
    explicit CliSession(CliContext& context);

    // Opens --catalog, or else the start-up catalog of the settings, through
    // the catalog check (password prompts through the prompter). On failure
    // shows the open warning and returns false.
    bool OpenCatalog();

    void ShowIndexProgress(int64_t done, int64_t total) override;
    std::string ProgramFolder() const override;
    // Saves the settings with the open catalog recorded as the start-up one.
    void SaveSettings() override;

    CliContext& context;
    const AppPaths& paths;
    AppSettings settings;
    WindowState window;
    CatalogName startup;
    CurrentCatalog current;
};

// An absolute form of a path given on the command line.
std::string AbsolutePath(const std::string& path);

}  // namespace kest::cli
