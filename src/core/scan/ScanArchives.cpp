#include "core/scan/ScanArchives.h"

#include "core/archive/cArchive.h"
#include "core/scan/RowBatch.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/ScanState.h"
#include "core/scan/ScanView.h"

namespace kest::scan {

ScanArchives::ScanArchives(ScanState& state, ScanView& view, const ScanOptions& options,
                           RowBatch& batch, engine::Database& db, Prompter& prompter)
    : m_state(state),
      m_view(view),
      m_options(options),
      m_batch(batch),
      m_prompter(prompter),
      m_recorder(db, *this, prompter) {}

void ScanArchives::List(const ArchiveBytes& bytes, const std::string& type) {
    archive::cArchive reader(m_prompter, *this);
    reader.OnFileFound([this](const archive::FileFound& entry) { m_recorder.Record(entry); });
    reader.SetArchivePath(bytes.path);
    reader.SetArchiveWindow(bytes.window);
    reader.SetArchiveType(type);
    reader.GetInfo();
}

bool ScanArchives::CancelRequested() const {
    return m_state.abort;
}
void ScanArchives::WriteLog(const std::string& line) {
    m_state.log.WriteLine(line);
}
int64_t ScanArchives::CurrentDiscId() const {
    return m_state.discId;
}
int64_t ScanArchives::CurrentFileId() const {
    return m_state.fileId;
}
void ScanArchives::RequestCancel() {
    m_state.abort = true;
}
void ScanArchives::ShowSubFileStatus(const std::string& text) {
    m_view.SetStatus(StatusPanel::SubFile, text);
}
bool ScanArchives::EstimateBeforeScan() const {
    return m_options.estimateBeforeScan;
}
void ScanArchives::ShowSubProgress(float percent) {
    m_view.ShowSubProgress(ProgressFor(percent));
}
void ScanArchives::Pump() {
    m_view.Pump();
}
void ScanArchives::BeforeRow() {
    m_batch.Open();
}
uint64_t ScanArchives::LogPosition() const {
    return m_state.log.Position();
}
bool ScanArchives::AfterRow(uint64_t logLine) {
    return m_batch.StoredHere(logLine);
}
size_t ScanArchives::RowsLost() {
    return m_batch.RollBack();
}
void ScanArchives::RowDropped(uint64_t logLine) {
    m_batch.Drop(logLine);
}

}  // namespace kest::scan
