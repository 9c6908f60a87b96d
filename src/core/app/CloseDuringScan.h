#pragma once

#include "core/ui/Prompter.h"

namespace kest::app {

// Closing the window while a scan runs: asks whether to cancel the scan and
// exit; true on Yes (the scan is cancelled and the window closes once it has
// stopped), false goes on scanning.
bool CancelScanToExit(Prompter& prompter);

}  // namespace kest::app
