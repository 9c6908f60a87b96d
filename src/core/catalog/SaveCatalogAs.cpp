#include "core/catalog/SaveCatalogAs.h"

#include <filesystem>

#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CatalogPaths.h"
#include "core/catalog/CloseCatalog.h"
#include "core/common/DurableFile.h"
#include "core/common/Errors.h"
#include "core/common/ReplaceableFile.h"

namespace kest {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

// A copy that failed (a full disk, say) leaves the catalog that was closed
// for it open again, with its password, and named in the settings.
void ReopenOriginal(CurrentCatalog& current, CatalogHost& host, Prompter& prompter,
                    const CurrentCatalog& original) {
    try {
        MakeCurrent(current, original.folder, original.name, original.path, original.password,
                    &host);
        host.CatalogReplaced();
        host.EnableCatalogControls();
        host.SaveSettings();
    } catch (const KestError& e) {
        prompter.ShowError("Error in opening database", e.Number(), e.Description());
    }
}

}  // namespace

void SaveCatalogAs(CurrentCatalog& current, CatalogHost& host, Prompter& prompter) {
    if (!current.HasDatabase()) return;
    try {
        FileDialogRequest dialog{"Save database As...",
                                 current.name,
                                 current.folder,
                                 "Kest Database (*.kst)|*.kst",
                                 1,
                                 4};
        auto chosen = prompter.SaveFile(dialog);
        std::string path = chosen ? *chosen : std::string();
        std::error_code ec;
        bool go = !Trim(path).empty();
        if (go) CheckReplaceable(path);
        if (go && std::filesystem::exists(path, ec)) {
            go = prompter.Show(
                     "Over-write file?",
                     path + "\r\nThe file already exists!\r\nDo you want to over-write it?",
                     Icon::Exclamation, Buttons::YesNo, 2) == Answer::Yes;
            // The open catalog cannot be replaced by a copy of itself.
            if (go && SameFile(path, current.path)) throw err::PermissionDenied();
            // The copy's rename replaces the old file in one step, so it is
            // not deleted beforehand.
        }
        if (go) {
            host.SetBusyPointer(true);
            host.SetMainWindowEnabled(false);
            CurrentCatalog original;
            original.path = current.path;
            original.folder = current.folder;
            original.name = current.name;
            original.password = current.password;
            CloseCatalog(current, host, prompter);
            try {
                CopyFileDurably(original.path, path);
                OpenCatalog(current, host, prompter, OpenSource::GivenPath, path);
            } catch (const KestError& e) {
                prompter.ShowError("Error in saving database", e.Number(), e.Description());
                ReopenOriginal(current, host, prompter, original);
            }
        }
    } catch (const KestError& e) {
        prompter.ShowError("Error in saving database", e.Number(), e.Description());
    }
    host.SetBusyPointer(false);
    host.SetMainWindowEnabled(true);
    host.UpdateViewCaptions();
}

}  // namespace kest
