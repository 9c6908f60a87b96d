#pragma once

#include <optional>
#include <string>

#include "core/catalog/CatalogHost.h"
#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

namespace kest {
namespace platform {
class Shell;
}

// The fifteen lines about the current catalog file and its contents, joined
// by CRLF. A fact of the file that cannot be read is told through the
// prompter and left empty; an engine error is raised.
std::string PropertiesReport(const CurrentCatalog& current, Prompter& prompter);

// The "Database Properties" command: shows the report and, when the user
// wants it printed, writes it to reportPath (Kest.log) and opens that with
// the desktop. Gives the report, or nothing after an error (already shown).
std::optional<std::string> PropertiesCommand(const CurrentCatalog& current, CatalogHost& host,
                                             Prompter& prompter, const std::string& reportPath,
                                             platform::Shell& shell);

}  // namespace kest
