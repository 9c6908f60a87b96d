#pragma once

#include <string>

#include "core/app/Session.h"

namespace kest::app {

// The main window's title after the options were applied: "Kest", or
// "Kest - " and the catalog's file name or full path as Program_Caption
// says; "Kest" whenever no catalog is open.
std::string ProgramTitle(const AppSettings& settings, const CurrentCatalog& current);

// The disc list gains its used-space column when ShowUsedSpace was switched
// on: its width is the remembered Discs_Columns/Col6Width of the settings
// file, or a quarter of the grid beyond the Kest ID column.
void FitDiscColumns(Session& session);

}  // namespace kest::app
