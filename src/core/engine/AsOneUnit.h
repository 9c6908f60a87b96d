#pragma once

#include <sqlite3.h>

#include <string>

#include "core/engine/EngineError.h"

namespace kest::engine {

// Runs a change of several statements as one unit under a savepoint: all of
// it or nothing. Works inside or outside an open transaction.
template <typename Change>
void AsOneUnit(sqlite3* db, const std::string& name, Change change) {
    ExecOrThrow(db, "SAVEPOINT " + name);
    try {
        change();
        ExecOrThrow(db, "RELEASE " + name);
    } catch (...) {
        sqlite3_exec(db, ("ROLLBACK TO " + name + "; RELEASE " + name + ";").c_str(), nullptr,
                     nullptr, nullptr);
        throw;
    }
}

}  // namespace kest::engine
