// kest-cli drives: the drives the drive box offers under the settings of the
// program folder (Drives/Only_Optical), one tab-separated line each: root,
// text, type, icon index, label, serial, file system.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/settings/SettingsFile.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsLoad.h"
#include "platform/Volumes.h"

namespace kest::cli {

namespace {

CommandRun SetupDrives(CLI::App& app, CliContext& context) {
    app.add_subcommand("drives", "List the drives that can be scanned");
    return [&context] {
        const AppPaths& paths = AppPaths::ForRun(context.home);
        AppSettings settings;
        CatalogName catalog;
        WindowState window;
        LoadSettings(ReadSettingsFile(paths.IniPath()), paths, settings, catalog, window);

        std::unique_ptr<platform::Volumes> volumes = platform::MakeSystemVolumes();
        for (const platform::Drive& item :
             platform::DriveBoxItems(*volumes, settings.Only_Optical)) {
            platform::VolumeInfo info = volumes->GetVolumeInfo(item.root);
            std::cout << item.root << '\t' << item.text << '\t'
                      << platform::DriveTypeName(item.type) << '\t' << item.iconIndex << '\t'
                      << info.label << '\t' << info.serial << '\t' << info.fileSystem << '\n';
        }
        return 0;
    };
}

const CommandRegistrar kDrives("drives", &SetupDrives);

}  // namespace

}  // namespace kest::cli
