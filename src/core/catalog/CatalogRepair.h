#pragma once

#include <cstdint>
#include <string>

namespace kest {

struct RepairOutcome {
    bool damaged = false;  // the check found damage and the file was salvaged
    int64_t lostRows = 0;  // rows known to have been lost in the salvage
    std::string keptAs;    // where the damaged file was kept
};

// The engine's repair of a catalog file that no one has open: a consistency
// check and, only when it finds damage, a salvage of every readable row into
// a fresh file that then takes the file's place; the damaged file is kept
// beside it under a name of its own (KeepOriginal; the salvaged file keeps the password lock,
// even when the damage kept the password from being checked). A file that is no database, a refused
// password or a schema that cannot be read raise the engine's error, and then
// nothing has changed.
RepairOutcome RepairCatalogFile(const std::string& path, const std::string& password);

}  // namespace kest
