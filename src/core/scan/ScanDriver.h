#pragma once

#include <functional>
#include <string>

#include "core/scan/CommittingPrompter.h"
#include "core/scan/ContentHashes.h"
#include "core/scan/RowBatch.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/ScanState.h"
#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}
namespace kest::platform {
class Volumes;
class Sound;
}  // namespace kest::platform

namespace kest::scan {

class ScanView;
class WalkSource;

// What a scan works with: the open catalog, the machine, the user and the
// window, the settings and the log file.
struct ScanServices {
    std::string catalogPath;
    engine::Database& db;
    const platform::Volumes& volumes;
    platform::Sound& sound;
    Prompter& prompter;
    ScanView& view;
    ScanOptions options;
    std::string logPath;  // Kest.dat in the program folder
};

// The scan of one disc, from the log's header to the end sound: checks,
// registration, estimate, walk, summary and clean-up. Every error stops it and
// is reported at its end; the rows stored before stay.
class ScanDriver {
  public:
    explicit ScanDriver(ScanServices services);

    // Scans the drive whose root the drive box names ("Select Drive" starts
    // nothing). True unless an error stopped the scan or the log could not
    // be written whole.
    bool StartScan(const std::string& driveText);
    // Scans a disc image (ISO 9660 or UDF) as the disc it holds, read in
    // place; its root is the image's path followed by "/". An image that
    // cannot be read is reported and scans nothing.
    bool StartImageScan(const std::string& imagePath);
    // The Cancel button: the walk stops at its next check.
    void CancelScan() { m_state.abort = true; }
    const ScanState& State() const { return m_state; }
    // The summary shown in status panel 1 by the last scan that ended well.
    const std::string& Summary() const { return m_summary; }

  private:
    // The log's header, `run`, and the clean-up with the error it raised.
    bool Start(const std::function<void()>& run);
    // Runs the steps up to the end sound; returns early when given up.
    void Run(const std::string& driveText, const platform::Volumes& volumes, WalkSource& source);
    void Estimate(const std::string& root, WalkSource& source);
    void CleanUp(const KestError* error);

    ScanServices m_s;
    ScanState m_state;
    RowBatch m_batch;
    CommittingPrompter m_prompter;
    std::string m_summary;
    ContentHashes m_hashes;        // with the hash option: what the walk read
    bool m_indexDeferred = false;  // the catalog's search index waits for the scan's end
};

}  // namespace kest::scan
