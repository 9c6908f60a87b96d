#pragma once

#include "core/engine/Database.h"
#include "core/ui/Prompter.h"

namespace kest {

// The three catalog tables, fields and indexes exactly as a new catalog has them.
engine::TableDef DiscsTableDef();
engine::TableDef FilesTableDef();
engine::TableDef SubFilesTableDef();

// Each builder appends its table to the database; on an engine error it shows
// "Error Creating Database Table: <table>" with the number and description
// and returns false.
bool BuildDiscsTable(engine::Database& db, Prompter& prompter);
bool BuildFilesTable(engine::Database& db, Prompter& prompter);
bool BuildSubFilesTable(engine::Database& db, Prompter& prompter);

}  // namespace kest
