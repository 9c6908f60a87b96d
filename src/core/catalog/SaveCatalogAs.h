#pragma once

#include "core/catalog/CatalogHost.h"
#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

namespace kest {

// The "Save Database As" command: asks for a new file name (and before
// replacing a file), closes the catalog, copies it there and opens the copy,
// which asks for its password again. The copy never stands half-written
// under the new name.
void SaveCatalogAs(CurrentCatalog& current, CatalogHost& host, Prompter& prompter);

}  // namespace kest
