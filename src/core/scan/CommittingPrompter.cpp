#include "core/scan/CommittingPrompter.h"

namespace kest::scan {

void CommittingPrompter::Settle() {
    m_batch.Commit();
    m_log.Flush();
}

Answer CommittingPrompter::Message(const MessageBoxRequest& box) {
    Settle();
    return m_inner.Message(box);
}

std::optional<std::string> CommittingPrompter::Input(const std::string& title,
                                                     const std::string& prompt,
                                                     const std::string& defaultText) {
    Settle();
    return m_inner.Input(title, prompt, defaultText);
}

std::optional<std::string> CommittingPrompter::Password() {
    Settle();
    return m_inner.Password();
}

std::optional<std::string> CommittingPrompter::OpenFile(const FileDialogRequest& dialog) {
    Settle();
    return m_inner.OpenFile(dialog);
}

std::optional<std::string> CommittingPrompter::SaveFile(const FileDialogRequest& dialog) {
    Settle();
    return m_inner.SaveFile(dialog);
}

}  // namespace kest::scan
