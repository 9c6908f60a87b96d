#pragma once

#include "core/common/KestError.h"

namespace kest::archive {

// The run-time errors a reader meets in the bytes of an archive.
inline KestError InputPastEnd() {
    return KestError(62, "Input past end of file");
}
inline KestError DeviceIoError() {
    return KestError(57, "Device I/O error");
}

}  // namespace kest::archive
