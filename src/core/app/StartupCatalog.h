#pragma once

#include <string>

#include "core/app/Session.h"

namespace kest::app {

// Opens the catalog the program starts with: the one given on the command
// line (a file manager's double-click gives one too) when it opens; else, and
// when none is given, the start-up catalog of the settings, offering to
// create a new one when that fails. A given catalog that fails to open leaves
// the start-up catalog of the settings as it was. True when one is open.
bool OpenCatalogAtStart(Session& session, CatalogHost& host, const std::string& given);

}  // namespace kest::app
