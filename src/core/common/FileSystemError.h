#pragma once

#include "core/common/KestError.h"

namespace kest {

// A failed file-system call as the error the user sees: the classic numbers
// ("53 File not found", "70 Permission denied", "76 Path not found", ...) for
// the common causes, the system's own text for the rest.
KestError FileSystemError(int errorNumber);

}  // namespace kest
