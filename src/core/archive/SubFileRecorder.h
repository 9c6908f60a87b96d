#pragma once

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
    // error asks Abort (cancel the scan), Retry (save again) or Ignore (skip).
    void Record(const FileFound& entry);

  private:
    void Save(const FileFound& entry, const SubFileRow& row);

    engine::Database& m_db;
    SubFileScanState& m_scan;
    Prompter& m_prompter;
    std::optional<engine::Statement> m_insert;
};

}  // namespace kest::archive
