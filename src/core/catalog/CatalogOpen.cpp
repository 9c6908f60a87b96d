#include "core/catalog/CatalogCheck.h"
#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CatalogPaths.h"
#include "core/common/KestError.h"

namespace kest {

void OpenCatalog(CurrentCatalog& current, CatalogHost& host, Prompter& prompter, OpenSource source,
                 const std::string& given) {
    host.SetMainWindowEnabled(false);
    try {
        std::string path, folder, name;
        if (source == OpenSource::AskForFile) {
            auto chosen =
                prompter.OpenFile(CatalogOpenDialog("Open a database...", host.ProgramFolder()));
            if (!chosen) {
                host.SetMainWindowEnabled(true);
                return;
            }
            path = *chosen;
            if (Trim(path).empty()) {
                host.SetMainWindowEnabled(true);
                return;
            }
            folder = GetDirectory(path);
            name = SplitPath(path).second;
        } else {
            auto [dirPart, namePart] = SplitPath(given);
            folder = GetDirectory(dirPart);
            name = namePart;
            path = folder + "/" + name;
        }
        CheckResult check = CheckCatalog(path, prompter);
        if (!check.valid) {
            ShowOpenWarning(prompter, check.code, OpenWarning::OpenCommand, check.errorNumber,
                            check.errorText);
            host.SetMainWindowEnabled(true);
            return;
        }
        host.SetBusyPointer(true);
        MakeCurrent(current, folder, name, path, check.password, &host, std::move(check.database));
        host.CatalogReplaced();
        host.EnableCatalogControls();
        host.SetBusyPointer(false);
        host.SetMainWindowEnabled(true);
        host.UpdateViewCaptions();
        host.SaveSettings();
    } catch (const KestError& e) {
        host.SetBusyPointer(false);
        host.SetMainWindowEnabled(true);
        prompter.ShowError("Error in opening database", e.Number(), e.Description());
    }
}

}  // namespace kest
