#include "core/catalog/CatalogRepair.h"

#include <filesystem>

#include "core/catalog/CatalogSchema.h"
#include "core/common/Errors.h"
#include "core/common/KeptOriginal.h"
#include "core/common/KestError.h"
#include "core/common/ReplacementFile.h"
#include "core/engine/Database.h"
#include "core/engine/DiscFactsTables.h"
#include "core/engine/PasswordLock.h"

namespace kest {
namespace {

// The objects a catalog has, as the create command and the first disc fact
// make them: its three tables, their indexes, the field order and the disc
// facts' tables (whose rows a schema that lost them is found again by).
const std::vector<engine::SchemaObject>& CatalogObjects() {
    static const std::vector<engine::SchemaObject> objects = [] {
        auto db = engine::Database::Create(":memory:");
        for (const auto& table : {DiscsTableDef(), FilesTableDef(), SubFilesTableDef()})
            db->CreateTable(table);
        engine::CreateDiscFactsTables(*db);
        std::vector<engine::SchemaObject> found;
        auto rows =
            db->Query("SELECT type, name, tbl_name, sql FROM sqlite_master WHERE sql <> ''").rows;
        found.reserve(rows.size());
        for (const auto& row : rows) {
            found.push_back({engine::ValueText(row[0]), engine::ValueText(row[1]),
                             engine::ValueText(row[2]), engine::ValueText(row[3])});
        }
        return found;
    }();
    return objects;
}

// Opens the salvaged file, asking for the password for as long as its lock
// refuses the one given.
std::unique_ptr<engine::Database> OpenSalvaged(const std::string& path, std::string password,
                                               const RepairPasswordAsk& ask) {
    for (;;) {
        try {
            return engine::Database::Open(path, password);
        } catch (const KestError& e) {
            if (e.Number() != err::kInvalidPassword || !ask) throw;
        }
        auto entered = ask();
        if (!entered) throw err::InvalidPassword();
        password = *entered;
    }
}

}  // namespace

RepairOutcome RepairCatalogFile(const std::string& path, const std::string& password,
                                engine::SalvageOptions options, const RepairPasswordAsk& ask) {
    std::vector<std::string> problems;
    try {
        problems = engine::Database::Open(path, password)->IntegrityProblems();
    } catch (const KestError& e) {
        // A file cut short, or whose lock cannot be read, is refused as
        // damaged before anything else is read; a database whose schema pages
        // are unreadable is taken for no database at all.
        if (e.Number() != err::kCorrupt &&
            (e.Number() != err::kUnrecognizedFormat || !engine::HasDatabaseHeader(path)))
            throw;
        problems.push_back(e.Description());
    }
    if (problems.empty()) return {};
    // The salvage goes to a link's target, with the damaged file's access;
    // a failed one leaves nothing behind.
    ReplacementFile salvage(path);
    RepairOutcome outcome;
    options.password = password;
    options.expected = CatalogObjects();
    outcome.salvage = engine::SalvageInto(path, salvage.TemporaryPath(), options);
    {
        // The disc facts were copied with every other table; facts of discs
        // (and hashes of files) the salvage could not recover go with them,
        // and count as lost (a lost lock leaves no password given).
        auto salvaged = OpenSalvaged(salvage.TemporaryPath(), password, ask);
        outcome.salvage.lostRows += engine::RebuildDiscFactsTables(*salvaged);
        if (!outcome.salvage.foundVerifier.empty())
            engine::RestorePasswordLock(salvaged->Handle(), outcome.salvage.foundVerifier);
    }
    outcome.keptAs = KeepOriginal(salvage.Target());
    salvage.Replace();
    outcome.damaged = true;
    return outcome;
}

RepairOutcome RepairCatalogFile(const std::string& path, const std::string& password,
                                CatalogHost& host, const RepairPasswordAsk& ask) {
    engine::SalvageOptions options;
    options.progress = [&host](int64_t done, int64_t total) {
        return host.ShowSalvageProgress(done, total);
    };
    options.indexProgress = [&host](int64_t done, int64_t total) {
        host.ShowIndexProgress(done, total);
    };
    RepairOutcome outcome;
    try {
        outcome = RepairCatalogFile(path, password, options, ask);
    } catch (...) {
        host.ShowSalvageProgress(1, 1);
        throw;
    }
    if (outcome.damaged) host.ShowSalvageProgress(1, 1);
    return outcome;
}

std::string SalvageReport(const RepairOutcome& outcome) {
    if (!outcome.damaged) return "";
    std::string text = "\r\nRecovered rows:";
    const auto& tables = outcome.salvage.tableRows;
    for (size_t i = 0; i < tables.size(); ++i) {
        text += (i == 0 ? " " : ", ") + std::to_string(tables[i].second) + " in " + tables[i].first;
    }
    text += ".\r\n" + std::to_string(outcome.salvage.lostRows) +
            " damaged rows could not be recovered.\r\nThe damaged original was kept as " +
            outcome.keptAs + ".";
    if (outcome.salvage.missingPages > 0) {
        text += "\r\nThe file was cut short: " + std::to_string(outcome.salvage.missingPages) +
                " of its pages are missing, and the rows they held could not be counted.";
    }
    if (outcome.salvage.uncountedPages > 0) {
        text += "\r\nRows on " + std::to_string(outcome.salvage.uncountedPages) +
                " damaged pages could not be counted.";
    }
    if (outcome.salvage.lock == engine::LockOutcome::Lost) {
        text +=
            "\r\nThe password lock was damaged and could not be recovered: the catalog now "
            "opens without a password.";
    }
    return text;
}

}  // namespace kest
