#pragma once

#include <memory>
#include <string>

#include "core/catalog/CatalogHost.h"
#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

namespace kest {

// Creates the catalog file at path with the three tables and no password;
// closes it again. False (after telling the user) when anything failed.
bool CreateCatalog(const std::string& path, Prompter& prompter);

// The "Create New Database" command: asks for a file name, builds an empty
// catalog there and makes it the current one.
void CreateCatalogCommand(CurrentCatalog& current, CatalogHost& host, Prompter& prompter);

// Where the "Open Database" command takes its file from.
enum class OpenSource { AskForFile, GivenPath };

// The "Open Database" command, on the file the user picks or on path. The
// current catalog changes only when the check passes and the open works.
void OpenCatalog(CurrentCatalog& current, CatalogHost& host, Prompter& prompter, OpenSource source,
                 const std::string& path = {});

// Opens path exclusively with the password as the current catalog (or takes
// opened, the same file as the catalog check opened it), then builds its
// search index where it lacks one (progress through the host).
void MakeCurrent(CurrentCatalog& current, const std::string& folder, const std::string& name,
                 const std::string& path, const std::string& password, CatalogHost* host = nullptr,
                 std::unique_ptr<engine::Database> opened = nullptr);

}  // namespace kest
