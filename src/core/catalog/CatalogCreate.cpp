#include <filesystem>

#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CatalogPaths.h"
#include "core/catalog/CatalogSchema.h"
#include "core/common/Errors.h"
#include "core/common/ReplaceableFile.h"
#include "core/common/ReplacementFile.h"
#include "core/explore/DiscTree.h"

namespace kest {

bool CreateCatalog(const std::string& path, Prompter& prompter) {
    std::unique_ptr<engine::Database> db;
    try {
        db = engine::Database::Create(path);
    } catch (const KestError& e) {
        prompter.Show(kAppTitle, "Error Creating Copy Database.\r" + std::to_string(e.Number()) +
                                     "\r" + e.Description());
        return false;
    }
    return BuildDiscsTable(*db, prompter) && BuildFilesTable(*db, prompter) &&
           BuildSubFilesTable(*db, prompter);
}

void CreateCatalogCommand(CurrentCatalog& current, CatalogHost& host, Prompter& prompter) {
    current.loaded = false;
    FileDialogRequest dialog{"Create a new database...",    "", host.ProgramFolder(),
                             "Kest Database (*.kst)|*.kst", 1,  4};
    auto chosen = prompter.SaveFile(dialog);
    // Whatever happens after the dialog, the window ends enabled, with its
    // captions updated and the settings saved.
    auto finish = [&] {
        host.SetBusyPointer(false);
        host.SetMainWindowEnabled(true);
        host.UpdateViewCaptions();
        host.SaveSettings();
    };
    if (!chosen) {
        finish();
        return;
    }
    std::string path = *chosen;
    if (Trim(path).empty()) return;
    host.SetMainWindowEnabled(false);
    try {
        auto [dirPart, name] = SplitPath(path);
        std::string folder = GetDirectory(path);
        CheckReplaceable(path);
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) {
            if (prompter.Show("Database Exists",
                              "The database already exists.\r\nDo you want to overwrite it?",
                              Icon::Critical, Buttons::YesNo, 2) != Answer::Yes) {
                prompter.Show("Create New Database", "The create database process was canceled.",
                              Icon::Information);
                host.SetMainWindowEnabled(true);
                return;
            }
            // The current catalog may be the file being replaced.
            if (current.HasDatabase() && current.path == path) current.database.reset();
            // A link stays and leads to the new catalog.
            if (!std::filesystem::remove(WriteTarget(path), ec) || ec) {
                throw err::PathFileAccess();
            }
        }
        if (!CreateCatalog(WriteTarget(path), prompter)) {
            current.loaded = false;
            prompter.Show("Database Error", "Failed to create database!");
            host.SetMainWindowEnabled(true);
            return;
        }
        current.loaded = true;
        host.SetBusyPointer(true);
        MakeCurrent(current, folder, name, path, "", &host);
        host.CatalogReplaced();
        prompter.Show("Create New Database", "The new database was created.", Icon::Information);
        host.EnableCatalogControls();
    } catch (const KestError& e) {
        prompter.ShowError("Error in creating database", e.Number(), e.Description());
    }
    finish();
}

void MakeCurrent(CurrentCatalog& current, const std::string& folder, const std::string& name,
                 const std::string& path, const std::string& password, CatalogHost* host,
                 std::unique_ptr<engine::Database> opened) {
    auto database = opened ? std::move(opened) : engine::Database::Open(path, password);
    try {
        database->BuildSearchIndex([host](int64_t done, int64_t total) {
            if (host) host->ShowIndexProgress(done, total);
        });
    } catch (const KestError& e) {
        // A full disk or an unwritable file: the catalog works unindexed and
        // the next open resumes the build where it stopped (after a full
        // disk, once there is more room).
        if (host && (e.Number() == err::kDiskFull || e.Number() == err::kNoSpace))
            host->ShowIndexProblem("The search index could not be built: " + e.Description() +
                                   " Searches read every row until there is more room.");
    }
    // A file unchanged since its index was last found whole had its folders
    // stored then (or could not take them; then, as when it is unwritable now,
    // each disc's first exploring works its folders out): looking for discs
    // without them reads a page or so per disc.
    if (!database->FoundUnchanged()) {
        try {
            explore::StoreMissingFolders(*database, [host](int64_t done, int64_t total) {
                if (host) host->ShowIndexProgress(done, total);
            });
        } catch (const KestError&) {
            // Unwritable now: each disc's first exploring works its folders out.
        }
    }
    current.database = std::move(database);
    current.folder = folder;
    current.name = name;
    current.path = path;
    current.password = password;
}

}  // namespace kest
