#include "core/catalog/RepairCatalog.h"

#include <filesystem>
#include <optional>

#include "core/catalog/CatalogCheck.h"
#include "core/catalog/CatalogPaths.h"
#include "core/catalog/CatalogRepair.h"
#include "core/catalog/RebuildIndex.h"
#include "core/common/Errors.h"
#include "core/common/PendingError.h"
#include "core/text/UnicodeCase.h"

namespace kest {
namespace {

bool IsCurrent(const CurrentCatalog& current, const std::string& path) {
    std::error_code ec;
    return current.HasDatabase() && std::filesystem::equivalent(path, current.path, ec);
}

// A refused password is a warning: the file is as it was.
void ShowRepairError(Prompter& prompter, const KestError& e) {
    if (e.Number() == err::kInvalidPassword) {
        prompter.Show("Warning in repairing database",
                      std::to_string(e.Number()) + "\r\n" + e.Description(), Icon::Information);
    } else if (e.Number() >= 1) {
        prompter.ShowError("Error in repairing database", e.Number(), e.Description());
    }
}

}  // namespace

bool RepairCatalog(CatalogHost& host, Prompter& prompter, const std::string& path,
                   const std::string& password) {
    host.SetBusyPointer(true);
    host.SetMainWindowEnabled(false);
    PendingError pending;
    std::optional<RepairOutcome> outcome;
    pending.Step([&] {
        outcome =
            RepairCatalogFile(path, password, host, [&prompter] { return prompter.Password(); });
    });
    // Damage inside the search index is no damage to the file's pages: a file
    // the check found sound has its index built afresh all the same (a salvage
    // builds its own, and a lock it found again may keep out the password given).
    if (!pending.Pending() && !outcome->damaged) {
        pending.Step([&] {
            RebuildSearchIndexOf(path, password, [&host](int64_t done, int64_t total) {
                host.ShowIndexProgress(done, total);
            });
        });
    }
    // A cancelled salvage, or one whose lock refused the password, repaired
    // nothing: only its error is shown.
    long refusal = pending.Pending() ? pending.Error().Number() : 0;
    if (refusal != err::kCancelledByUser && refusal != err::kInvalidPassword) {
        std::string text = text::UpperCase(path) +
                           " repaired successfully.\r\n \r\nIt is recommended that you open the "
                           "database and then compact the database.";
        if (outcome) text += SalvageReport(*outcome);
        prompter.Show("Repair successful", text, Icon::Information);
    }
    host.SetBusyPointer(false);
    host.SetMainWindowEnabled(true);
    if (pending.Pending()) ShowRepairError(prompter, pending.Error());
    return !pending.Pending();
}

bool RepairCommand(CurrentCatalog& current, CatalogHost& host, Prompter& prompter) {
    bool repaired = false;
    try {
        auto chosen = prompter.OpenFile(
            CatalogOpenDialog("Choose Database to be Repaired...", host.ProgramFolder()));
        std::string path = chosen ? *chosen : std::string();
        if (IsCurrent(current, path)) {
            // The exclusive lock would refuse the repair: let go, repair, reopen.
            host.ReleaseBindings();
            current.database.reset();
            repaired = RepairCatalog(host, prompter, current.path, current.password);
            current.database = engine::Database::Open(current.path, current.password);
            host.CatalogReplaced();
        } else if (!Trim(path).empty()) {
            std::string password;
            bool refused = false;
            try {
                refused = !OpenWithPassword(path, prompter, password);
            } catch (const KestError&) {
                // Damage, or a file that is no catalog: the repair meets it
                // again and reports it after its message.
            }
            if (refused) throw err::InvalidPassword();
            repaired = RepairCatalog(host, prompter, path, password);
        }
    } catch (const KestError& e) {
        repaired = false;
        ShowRepairError(prompter, e);
    }
    host.ReinstallTrayIcon();
    return repaired;
}

}  // namespace kest
