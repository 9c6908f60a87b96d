#include "core/catalog/CompactCatalog.h"

#include <optional>

#include "core/catalog/CatalogRepair.h"
#include "core/catalog/FormatFileSize.h"
#include "core/catalog/RebuildIndex.h"
#include "core/common/Errors.h"
#include "core/common/PendingError.h"
#include "core/common/ReplacementFile.h"
#include "core/text/UnicodeCase.h"

namespace kest {
namespace {

// Writes the compacted copy of the file at path into copy. The copy
// reads every page of every table and index, so it is also the repair's
// check: when it fails, the file is checked, and only damage found there has
// it repaired (its readable rows salvaged) and copied again; any other
// failure (a full disk) is reported as it is. Damage can show as any error
// (SQLite answers a damaged cell with "database or disk is full" too). A
// separate check beforehand would more than double the time of every
// compaction of a sound catalog.
RepairOutcome CompactInto(CatalogHost& host, const std::string& path, const std::string& password,
                          ReplacementFile& copy) {
    std::optional<KestError> failure;
    try {
        engine::Database::Open(path, password)->VacuumInto(copy.TemporaryPath());
        return {};
    } catch (const KestError& e) {
        if (e.Number() == err::kFileInUse || e.Number() == err::kInvalidPassword ||
            e.Number() == err::kFileNotFound)
            throw;
        failure = e;
    }
    copy.Empty();
    RepairOutcome outcome = RepairCatalogFile(path, password, host);
    if (!outcome.damaged) throw *failure;
    engine::Database::Open(path, password)->VacuumInto(copy.TemporaryPath());
    return outcome;
}

}  // namespace

CompactResult CompactCatalog(CatalogHost& host, Prompter& prompter, const std::string& path,
                             const std::string& password) {
    host.SetBusyPointer(true);
    host.SetMainWindowEnabled(false);
    host.ProcessMessages();
    PendingError pending;
    CompactResult result;
    std::optional<ReplacementFile> copy;
    pending.Step([&] { result.sizeBefore = FormatFileSize(path); });
    bool compacted = false;
    pending.Step([&] {
        // The engine ignores a password for a file without a lock, so the
        // password goes as it stands; a password of blanks then works too.
        copy.emplace(path);
        result.repair = CompactInto(host, path, password, *copy);
        compacted = true;
    });
    // Only a copy written whole replaces the catalog (a link's target, with
    // the catalog's access); one that is not placed goes.
    if (compacted) pending.Step([&] { copy->Replace(); });
    copy.reset();
    // The copy keeps the index as it was, damage and all: it is built afresh.
    if (compacted && !pending.Pending()) {
        pending.Step([&] {
            RebuildSearchIndexOf(path, password, [&host](int64_t done, int64_t total) {
                host.ShowIndexProgress(done, total);
            });
        });
    }
    pending.Step([&] { result.sizeAfter = FormatFileSize(path); });
    result.done = true;
    // A cancelled salvage compacted nothing: only its error is shown.
    if (!pending.Pending() || pending.Error().Number() != err::kCancelledByUser) {
        prompter.Show("Compact/Repair successful",
                      text::UpperCase(path) + " compacted & repaired successfully.\r\n\r\n" +
                          "Size before compact/repair:\t" + result.sizeBefore + "\r\n" +
                          "Size after compact/repair:\t" + result.sizeAfter +
                          SalvageReport(result.repair),
                      Icon::Information);
    }
    host.SetBusyPointer(false);
    host.SetMainWindowEnabled(true);
    host.ProcessMessages();
    if (pending.Pending()) {
        result.errorShown = true;
        prompter.Show("Compact/Repair database error",
                      "An error has occured while compacting the database!\r\n \r\n" +
                          std::to_string(pending.Error().Number()) + "\r\n" +
                          pending.Error().Description(),
                      Icon::Critical);
    }
    return result;
}

CompactResult CompactCommand(CurrentCatalog& current, CatalogHost& host, Prompter& prompter) {
    if (!current.HasDatabase()) return {};
    host.SetBusyPointer(true);
    host.ClearResults();
    host.KeepUsedSpaceWidth();
    host.ProcessMessages();
    host.ReleaseBindings();
    current.database.reset();
    CompactResult result = CompactCatalog(host, prompter, current.path, current.password);
    host.SetBusyPointer(true);
    host.ProcessMessages();
    PendingError pending;
    pending.Step([&] {
        current.database = engine::Database::Open(current.path, current.password);
        host.CatalogReplaced();
    });
    host.SetBusyPointer(false);
    if (pending.Pending()) {
        result.errorShown = true;
        prompter.ShowError("Error in compacting database", pending.Error().Number(),
                           pending.Error().Description());
    }
    return result;
}

}  // namespace kest
