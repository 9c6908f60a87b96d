#pragma once

#include "core/scan/RowBatch.h"
#include "core/scan/ScanLog.h"
#include "core/ui/Prompter.h"

namespace kest::scan {

// Passes every prompt on after committing the pending rows and flushing the
// log, so that whatever the scan stored before it asks is in the catalog.
class CommittingPrompter : public Prompter {
  public:
    CommittingPrompter(Prompter& inner, RowBatch& batch, ScanLog& log)
        : m_inner(inner), m_batch(batch), m_log(log) {}

    Answer Message(const MessageBoxRequest& box) override;
    std::optional<std::string> Input(const std::string& title, const std::string& prompt,
                                     const std::string& defaultText) override;
    std::optional<std::string> Password() override;
    std::optional<std::string> OpenFile(const FileDialogRequest& dialog) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& dialog) override;

  private:
    void Settle();

    Prompter& m_inner;
    RowBatch& m_batch;
    ScanLog& m_log;
};

}  // namespace kest::scan
