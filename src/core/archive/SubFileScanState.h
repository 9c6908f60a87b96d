#pragma once

#include <cstdint>
#include <string>

#include "core/archive/ArchiveHost.h"

namespace kest::archive {

// The part of the scan state that the recording of subfiles reads and drives.
class SubFileScanState : public ArchiveHost {
  public:
    virtual int64_t CurrentDiscId() const = 0;
    // The row of the archive file itself in tblFiles.
    virtual int64_t CurrentFileId() const = 0;
    // Sets the cancel flag: the reader stops after this entry, the scan aborts.
    virtual void RequestCancel() = 0;
    // The status bar's second panel.
    virtual void ShowSubFileStatus(const std::string& text) = 0;
    // Whether the scan estimated its files first (and so shows the bars).
    virtual bool EstimateBeforeScan() const = 0;
    virtual void ShowSubProgress(float percent) = 0;
    // Lets the window repaint and the Cancel button act.
    virtual void Pump() = 0;
    // Around the writing of one row, from its log line to its save: the scan
    // groups the rows into its transactions (opened before, committed after
    // when the group is full) and keeps its log true to what the catalog
    // holds. AfterRow only follows a row that was saved, with where its log
    // line starts (LogPosition before the line was written); true when it
    // committed every row saved so far.
    virtual void BeforeRow() = 0;
    virtual uint64_t LogPosition() const = 0;
    virtual bool AfterRow(uint64_t logLine) = 0;
    // After a failed save: rolls back what the transaction held (a failed
    // commit may have done so already) and gives how many rows are not
    // stored: the latest ones AfterRow was told of, and any lost before and
    // not saved again since. Saving such a row again (AfterRow with its log
    // line) counts it stored; RowDropped gives one up (the user skipped it).
    virtual size_t RowsLost() = 0;
    virtual void RowDropped(uint64_t logLine) = 0;
};

}  // namespace kest::archive
