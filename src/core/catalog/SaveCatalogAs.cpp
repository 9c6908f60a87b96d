#include "core/catalog/SaveCatalogAs.h"

#include <filesystem>

#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CatalogPaths.h"
#include "core/catalog/CloseCatalog.h"
#include "core/common/DurableFile.h"
#include "core/common/Errors.h"

namespace kest {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
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
            std::string source = current.path;
            CloseCatalog(current, host, prompter);
            CopyFileDurably(source, path);
            OpenCatalog(current, host, prompter, OpenSource::GivenPath, path);
        }
    } catch (const KestError& e) {
        prompter.ShowError("Error in saving database", e.Number(), e.Description());
    }
    host.SetBusyPointer(false);
    host.SetMainWindowEnabled(true);
    host.UpdateViewCaptions();
}

}  // namespace kest
