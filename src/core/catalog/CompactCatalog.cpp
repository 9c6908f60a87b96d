#include "core/catalog/CompactCatalog.h"

#include <filesystem>

#include "core/catalog/CatalogPaths.h"
#include "core/catalog/CatalogRepair.h"
#include "core/catalog/FormatFileSize.h"
#include "core/common/DurableFile.h"
#include "core/common/FileSystemError.h"
#include "core/common/PendingError.h"
#include "core/text/UnicodeCase.h"

namespace kest {
namespace {

void RemoveFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) throw FileSystemError(ec.value());
}

}  // namespace

CompactResult CompactCatalog(CatalogHost& host, Prompter& prompter, const std::string& path,
                             const std::string& password) {
    host.SetBusyPointer(true);
    host.SetMainWindowEnabled(false);
    host.ProcessMessages();
    PendingError pending;
    CompactResult result;
    const std::string temporary = path + ".bdb";
    const std::string sourcePassword = Trim(password).empty() ? "" : password;
    pending.Step([&] { result.sizeBefore = FormatFileSize(path); });
    pending.Step([&] { RepairCatalogFile(path, sourcePassword); });
    pending.Step([&] { RemoveFile(temporary); });
    bool compacted = false;
    pending.Step([&] {
        engine::Database::Open(path, sourcePassword)->VacuumInto(temporary);
        compacted = true;
    });
    // Only a copy written whole replaces the catalog.
    if (compacted) pending.Step([&] { RenameDurably(temporary, path); });
    pending.Step([&] {
        std::error_code ec;
        if (std::filesystem::is_regular_file(temporary, ec)) RemoveFile(temporary);
    });
    pending.Step([&] { result.sizeAfter = FormatFileSize(path); });
    result.done = true;
    prompter.Show("Compact/Repair successful",
                  text::UpperCase(path) + " compacted & repaired successfully.\r\n\r\n" +
                      "Size before compact/repair:\t" + result.sizeBefore + "\r\n" +
                      "Size after compact/repair:\t" + result.sizeAfter,
                  Icon::Information);
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
    current.database.reset();
    host.ReleaseBindings();
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
