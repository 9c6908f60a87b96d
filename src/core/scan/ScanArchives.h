#pragma once

#include "core/archive/SubFileRecorder.h"
#include "core/archive/SubFileScanState.h"
#include "core/scan/DirectoryWalk.h"

namespace kest::scan {

struct ScanState;
struct ScanOptions;
class ScanView;
class RowBatch;

// Hands the compressed files of a walk to a fresh cArchive each and records
// their entries as subfiles of the file row just stored.
class ScanArchives : public ArchiveLister, public archive::SubFileScanState {
  public:
    ScanArchives(ScanState& state, ScanView& view, const ScanOptions& options, RowBatch& batch,
                 engine::Database& db, Prompter& prompter);

    void List(const ArchiveBytes& bytes, const std::string& type) override;

    bool CancelRequested() const override;
    void WriteLog(const std::string& line) override;
    int64_t CurrentDiscId() const override;
    int64_t CurrentFileId() const override;
    void RequestCancel() override;
    void ShowSubFileStatus(const std::string& text) override;
    bool EstimateBeforeScan() const override;
    void ShowSubProgress(float percent) override;
    void Pump() override;
    void BeforeRow() override;
    uint64_t LogPosition() const override;
    bool AfterRow(uint64_t logLine) override;
    size_t RowsLost() override;
    void RowDropped(uint64_t logLine) override;

  private:
    ScanState& m_state;
    ScanView& m_view;
    const ScanOptions& m_options;
    RowBatch& m_batch;
    Prompter& m_prompter;
    archive::SubFileRecorder m_recorder;
};

}  // namespace kest::scan
