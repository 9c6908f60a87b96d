#pragma once

#include "core/scan/ScanOptions.h"
#include "core/settings/AppSettings.h"

namespace kest::scan {

// The scan's options as the settings give them.
ScanOptions ScanOptionsFromSettings(const AppSettings& settings);

}  // namespace kest::scan
