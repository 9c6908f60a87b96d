#include "core/catalog/CatalogRepair.h"

#include <unistd.h>

#include <filesystem>

#include "core/common/DurableFile.h"
#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/engine/DiscFactsTables.h"
#include "core/engine/Salvage.h"

namespace kest {
namespace {

// Keeps the damaged file under its new name while the catalog's own name
// never goes missing: a second name for the same file, or a copy.
void KeepDamaged(const std::string& path, const std::string& damaged) {
    RemoveIfPresent(damaged);
    if (link(path.c_str(), damaged.c_str()) != 0) CopyFileDurably(path, damaged);
}

}  // namespace

RepairOutcome RepairCatalogFile(const std::string& path, const std::string& password) {
    std::vector<std::string> problems;
    try {
        problems = engine::Database::Open(path, password)->IntegrityProblems();
    } catch (const KestError& e) {
        // A file cut short is refused as damaged before anything is read.
        if (e.Number() != err::kCorrupt) throw;
        problems.push_back(e.Description());
    }
    if (problems.empty()) return {};
    std::string salvage = path + ".salvage";
    RemoveIfPresent(salvage);
    engine::SalvageResult salvaged;
    try {
        salvaged = engine::SalvageInto(path, salvage);
        engine::RebuildDiscFactsTables(*engine::Database::Open(salvage, password));
        KeepDamaged(path, path + ".damaged");
        RenameDurably(salvage, path);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(salvage, ignored);
        throw;
    }
    return {true, salvaged.lostRows};
}

}  // namespace kest
