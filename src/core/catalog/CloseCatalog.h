#pragma once

#include "core/catalog/CatalogHost.h"
#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

namespace kest {

// The "Close Database" command: the catalog is closed, the grids emptied and
// the catalog commands disabled; the current catalog keeps only its folder,
// and the settings are saved with no start-up catalog.
void CloseCatalog(CurrentCatalog& current, CatalogHost& host, Prompter& prompter);

}  // namespace kest
