#pragma once

#include <memory>
#include <string>

#include "core/engine/Database.h"

namespace kest {

// The one open catalog of the program. Replaced only by the catalog commands
// (create, open, close); the old database is released when a new one is stored.
struct CurrentCatalog {
    std::string path;      // full path
    std::string folder;    // without a trailing '/'
    std::string name;      // file name
    std::string password;  // empty when the file has none
    std::unique_ptr<engine::Database> database;
    bool loaded = false;  // a new catalog was created and opened by the create command
    bool open = false;    // the start-up opened its catalog

    bool HasDatabase() const { return database != nullptr; }
    engine::Database& Db() const { return *database; }
};

}  // namespace kest
