#pragma once

#include <string>

#include "core/catalog/CatalogHost.h"
#include "core/catalog/CatalogRepair.h"
#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

namespace kest {

struct CompactResult {
    bool done = false;
    std::string sizeBefore;  // FormatFileSize texts
    std::string sizeAfter;
    bool errorShown = false;  // a step failed and its error was reported
    RepairOutcome repair;     // the salvage of a damaged file, when there was one
};

// Repairs and compacts the catalog file at path (no one may have it open):
// a compacted copy beside it (a ReplacementFile; a damaged file is repaired
// first) that replaces the file (a link's target, keeping its access) by a
// rename only when it was written whole. Every step runs even
// after an error; the sizes are reported, and a pending error after them.
CompactResult CompactCatalog(CatalogHost& host, Prompter& prompter, const std::string& path,
                             const std::string& password);

// The "Compact and Repair Database" command on the current catalog: the
// window lets go of it, the file is compacted and then opened again with the
// current password.
CompactResult CompactCommand(CurrentCatalog& current, CatalogHost& host, Prompter& prompter);

}  // namespace kest
