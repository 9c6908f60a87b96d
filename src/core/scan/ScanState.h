#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "core/common/KestError.h"
#include "core/scan/ScanLog.h"

namespace kest::scan {

// What one scan keeps while it runs; reset at its start.
struct ScanState {
    int64_t discId = 0;  // KestId of the disc registered for this scan
    int64_t fileId = 0;  // FileId of the compressed file being listed
    int64_t fileCounter = 0;
    std::string lastFile;             // the file being handled, for the error report
    std::atomic<bool> abort = false;  // set by Cancel, from any thread
    double percentStep = 0;
    float totalPercent = 0;
    std::string label, serial, fileSystem;
    ScanLog log;
};

// Raised where the walk finds the abort flag set.
inline KestError ScanAborted() {
    return KestError(err::kScanAborted, "The scan was aborted!");
}

}  // namespace kest::scan
