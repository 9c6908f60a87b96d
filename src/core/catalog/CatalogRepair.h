#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/catalog/CatalogHost.h"
#include "core/engine/Salvage.h"

namespace kest {

struct RepairOutcome {
    bool damaged = false;  // the check found damage and the file was salvaged
    engine::SalvageResult salvage;
    std::string keptAs;  // where the damaged original was kept
};

// Asks for the catalog's password when the salvaged file keeps a lock that the
// password given does not open (damage kept the open from asking before);
// nullopt gives up the repair.
using RepairPasswordAsk = std::function<std::optional<std::string>()>;

// The engine's repair of a catalog file that no one has open: a consistency
// check and, only when it finds damage, a salvage of every readable row into
// a fresh file that then takes the file's place; the damaged file is kept
// beside it under a name of its own (KeepOriginal). The salvaged file keeps the password lock,
// even when the damage kept the password from being checked; when the damage
// took the lock, the password given locks it again (none given: the outcome
// says it was lost). A file that is no database, a refused password, a
// schema that cannot be read, a password refused or not given when `ask`
// asked for it (3031), or a cancel (3059, through options.progress) raise the
// engine's error, and then nothing has changed.
RepairOutcome RepairCatalogFile(const std::string& path, const std::string& password,
                                engine::SalvageOptions options = {},
                                const RepairPasswordAsk& ask = {});

// The same, showing the salvage's progress (and taking its Cancel) and the
// search index's build through the host.
RepairOutcome RepairCatalogFile(const std::string& path, const std::string& password,
                                CatalogHost& host, const RepairPasswordAsk& ask = {});

// What the user is told of a salvage, to follow the success message: the
// rows recovered per table, the rows lost, where the damaged original was
// kept and what became of the password lock; each line starts with a line
// break. Empty when there was no damage.
std::string SalvageReport(const RepairOutcome& outcome);

}  // namespace kest
