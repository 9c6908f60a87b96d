#pragma once

#include <memory>
#include <string>

#include "core/engine/Database.h"
#include "core/ui/Prompter.h"

namespace kest {

// Closes the database, copies the file to backupPath (replacing what is
// there) and opens the file again exclusively with the password; the new
// database replaces the old one. False when the copy or the open fails.
bool MakeBackup(std::unique_ptr<engine::Database>& database, const std::string& path,
                const std::string& backupPath, const std::string& password);

// Converts a catalog of the older format in place to the current one and
// tells the user it succeeded. Engine errors end it and reach the caller.
void UpgradeCatalog(engine::Database& db, Prompter& prompter);

}  // namespace kest
