#pragma once

#include <deque>
#include <optional>

#include "core/archive/FileFound.h"
#include "core/archive/SubFileRow.h"
#include "core/archive/SubFileScanState.h"
#include "core/engine/Database.h"
#include "core/ui/Prompter.h"

namespace kest::archive {

// Records the entries a cArchive finds as tblSubFiles rows of the disc and
// archive file being scanned: the FileFound handler of a scan.
class SubFileRecorder {
  public:
    SubFileRecorder(engine::Database& db, SubFileScanState& scan, Prompter& prompter)
        : m_db(db), m_scan(scan), m_prompter(prompter) {}

    // Writes the row, the log line and the status text of one entry. A save
    // error asks Abort (cancel the scan), Retry (save again) or Ignore (skip
    // this entry). A failed commit rolls back every row of its batch: Retry
    // and Ignore save those rows again (the entry too on Retry), each with
    // its one log line; after Abort the scan cuts the log back to them.
    void Record(const FileFound& entry);

  private:
    // A row as saved: enough to save it again.
    struct SavedRow {
        int64_t discId = 0;
        int64_t fileId = 0;
        SubFileRow row;
        uint64_t logLine = 0;
    };

    // Writes the entry's log line (once: logLine keeps where it starts) and
    // saves its row.
    void Save(const FileFound& entry, const SubFileRow& row, std::optional<uint64_t>& logLine);
    // Saves the rows a failed commit took back, oldest first.
    void SaveLost();
    void Insert(const SavedRow& saved);
    // After a failed save: the rows the scan reports lost become m_lost.
    void TakeLost();

    engine::Database& m_db;
    SubFileScanState& m_scan;
    Prompter& m_prompter;
    std::optional<engine::Statement> m_insert;
    std::deque<SavedRow> m_saved;  // since the batch's last commit, oldest first
    std::deque<SavedRow> m_lost;   // rolled back, to save again, oldest first
};

}  // namespace kest::archive
