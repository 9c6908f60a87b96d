#include "core/catalog/CatalogRepair.h"

#include "core/common/KeptOriginal.h"
#include "core/common/KestError.h"
#include "core/common/ReplacementFile.h"
#include "core/engine/Database.h"
#include "core/engine/Salvage.h"

namespace kest {

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
    // The salvage goes to a link's target, with the damaged file's access;
    // a failed one leaves nothing behind.
    ReplacementFile salvage(path);
    engine::SalvageResult salvaged = engine::SalvageInto(path, salvage.TemporaryPath());
    std::string keptAs = KeepOriginal(salvage.Target());
    salvage.Replace();
    return {true, salvaged.lostRows, keptAs};
}

}  // namespace kest
