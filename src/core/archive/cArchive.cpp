#include "core/archive/cArchive.h"

#include "core/archive/ArchiveKinds.h"

namespace kest::archive {

void cArchive::GetInfo() {
    if (m_archiveType == "ace") {
        GetAce();
    } else if (m_archiveType == "cab") {
        GetCab();
    } else if (m_archiveType == "rar") {
        GetRar();
    } else if (m_archiveType == "zip") {
        GetZip();
    } else if (IsLibArchiveType(m_archiveType)) {
        GetPacked();
    }
}

cArchive::StepResult cArchive::ErrorPrompt(const char* reader, int line, long number,
                                           const std::string& description) {
    const std::string error = "Error: " + std::to_string(number) + " " + description;
    const std::string where = std::string("in cArchive.") + reader + " component ";
    m_host.WriteLog(error);
    m_host.WriteLog(where + "at line " + std::to_string(line));
    Answer answer = m_prompter.Show(reader,
                                    error + "\r\n" + where + "at line " + std::to_string(line) +
                                        "\r\n" + "Select the following: \r\n" +
                                        "  <-> Choose Retry to attempt further processing\r\n" +
                                        "  <-> Choose Cancel to skip the rest of the subfiles",
                                    Icon::Critical, Buttons::RetryCancel);
    return answer == Answer::Retry ? StepResult::Retried : StepResult::Cancelled;
}

void cArchive::Report(FileFound& entry, int32_t index) {
    entry.EntryIndex = index;
    entry.EntryCount = m_entryCount;
    entry.ArchiveType = m_archiveType;
    if (m_fileFound) m_fileFound(entry);
}

}  // namespace kest::archive
