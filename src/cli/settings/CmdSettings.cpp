// kest-cli settings [--save]: the effective settings, one "Section/Key=value"
// line each in the order a save writes them.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>

#include "cli/CliContext.h"
#include "cli/settings/SettingsFile.h"
#include "core/common/KestError.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsLoad.h"
#include "core/settings/SettingsSave.h"

namespace kest::cli {

namespace {

// Prints the entries; when `keysRead` is given, only the keys it holds.
void PrintEntries(const std::vector<SettingsEntry>& entries,
                  const std::vector<std::string>* keysRead) {
    for (const SettingsEntry& entry : entries) {
        if (entry.key.empty()) continue;
        std::string name = entry.section + "/" + entry.key;
        if (keysRead && std::find(keysRead->begin(), keysRead->end(), name) == keysRead->end()) {
            continue;
        }
        std::cout << name << "=" << entry.value << "\n";
    }
}

CommandRun SetupSettings(CLI::App& app, CliContext& context) {
    CLI::App* sub = app.add_subcommand("settings", "Show the effective settings");
    auto save = std::make_shared<bool>(false);
    sub->add_flag("--save", *save,
                  "Save them, with the start-up catalog as the open one (creates a missing file)");
    return [&context, save] {
        const AppPaths& paths = AppPaths::ForRun(context.home);
        AppSettings settings;
        CatalogName catalog;
        WindowState window;
        std::vector<std::string> keysRead;
        try {
            LoadSettings(ReadSettingsFile(paths.IniPath()), paths, settings, catalog, window,
                         &keysRead);
        } catch (const KestError& e) {
            std::cout << "error " << e.Number() << ": " << e.Description() << "\n";
            window.resultColumns = AllResultColumns(window);
            PrintEntries(SettingsEntries(settings, window, catalog, PlaceRule::Always), &keysRead);
            return 1;
        }
        // No results grid here: every column counts, at its remembered width.
        window.resultColumns = AllResultColumns(window);
        int status = 0;
        std::optional<KestError> failure;
        if (*save && !SaveSettings(paths, settings, window, &catalog, &failure)) {
            std::cerr << "kest-cli: could not write " << paths.IniPath().string();
            if (failure)
                std::cerr << ": error " << failure->Number() << ": " << failure->Description();
            std::cerr << "\n";
            status = 1;
        }
        PrintEntries(SettingsEntries(settings, window, catalog, PlaceRule::Always), nullptr);
        return status;
    };
}

const CommandRegistrar kSettings("settings", &SetupSettings);

}  // namespace

}  // namespace kest::cli
