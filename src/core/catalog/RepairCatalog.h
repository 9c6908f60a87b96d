#pragma once

#include <string>

#include "core/catalog/CatalogHost.h"
#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

namespace kest {

// Repairs the catalog file at path in place (no one may have it open) and
// tells the user, with the number of rows a salvage could not bring back.
// An error is shown after the success message, as the routine runs on; the
// result is true when there was none.
bool RepairCatalog(CatalogHost& host, Prompter& prompter, const std::string& path,
                   const std::string& password);

// The "Repair External Database" command: any catalog file the user picks,
// the current one too (closed for the repair and opened again). A protected
// file asks for its password; cancelling that ends in a warning. True when
// a file was repaired without an error.
bool RepairCommand(CurrentCatalog& current, CatalogHost& host, Prompter& prompter);

}  // namespace kest
