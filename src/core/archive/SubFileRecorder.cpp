#include "core/archive/SubFileRecorder.h"

#include "core/archive/SubFileRow.h"
#include "core/archive/SubFileTexts.h"
#include "core/common/Errors.h"
#include "core/text/ControlChars.h"

namespace kest::archive {

namespace {

constexpr const char* kErrorTitle = "frmKestArchive_FileFound";

// A number as the log prints it: a sign position (blank when positive), the
// digits and a trailing blank.
std::string LogNumber(int64_t n) {
    return (n < 0 ? "-" : " ") + std::to_string(n < 0 ? -n : n) + " ";
}

std::string SaveErrorText(long number, const std::string& description) {
    return "Error: " + std::to_string(number) + ". " + description + "\r\n\r\n" +
           "Select the following: \r\n" + "  <-> Choose Abort to completely cancel the scan\r\n" +
           "  <-> Choose Retry to attempt to save the file again\r\n" +
           "  <-> Choose Ignore to skip the file";
}

}  // namespace

void SubFileRecorder::Record(const FileFound& entry) {
    std::optional<SubFileRow> row = SubFileRowFor(entry);
    if (!row) return;
    for (;;) {
        long number = 0;
        std::string description;
        try {
            Save(entry, *row);
            return;
        } catch (const std::exception& e) {
            const KestError error = err::ToKestError(e);
            number = error.Number();
            description = error.Description();
        }
        Answer answer = m_prompter.Show(kErrorTitle, SaveErrorText(number, description),
                                        Icon::Critical, Buttons::AbortRetryIgnore);
        if (answer == Answer::Retry) continue;
        if (answer == Answer::Abort) {
            m_scan.RequestCancel();
        } else {
            m_scan.WriteLog("      " + LogNumber(entry.EntryIndex) + "~~ This file was ignored.");
        }
        return;
    }
}

void SubFileRecorder::Save(const FileFound& entry, const SubFileRow& row) {
    m_scan.BeforeRow();
    std::string line = "   " + LogNumber(entry.EntryIndex) + ":: \"" + row.SubFileDir + "\",\"" +
                       row.SubFileName + "\"," + std::to_string(row.SubFileSize);
    text::MaskControls(line);  // the names stay on their line
    m_scan.WriteLog(line);
    m_scan.ShowSubFileStatus("::" + entry.FileName);

    if (!m_insert) {
        m_insert = m_db.Prepare(
            "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileAtt, "
            "SubFileCRC, SubFileSize, SubFileCSize, SubFileRatio, SubFileDate, SubFileComm, "
            "SubFileMeth, SubFileSMeth, SubFileEncr, SubFileFlags) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    }
    engine::Statement& insert = *m_insert;
    insert.Bind(1, m_scan.CurrentDiscId());
    insert.Bind(2, m_scan.CurrentFileId());
    insert.Bind(3, row.SubFileDir);
    insert.Bind(4, row.SubFileName);
    insert.Bind(5, row.SubFileAtt);
    insert.Bind(6, row.SubFileCRC);
    insert.Bind(7, row.SubFileSize);
    insert.Bind(8, row.SubFileCSize);
    insert.Bind(9, RatioValue(row.SubFileRatio));
    insert.Bind(10, text::ToIso(row.SubFileDate));
    insert.Bind(11, row.SubFileComm);
    insert.Bind(12, int64_t{row.SubFileMeth});
    insert.Bind(13, row.SubFileSMeth);
    insert.Bind(14, int64_t{row.SubFileEncr ? 1 : 0});
    insert.Bind(15, int64_t{row.SubFileFlags});
    insert.Run();
    m_scan.AfterRow();

    if (m_scan.EstimateBeforeScan()) {
        float percent = entry.EntryIndex < entry.EntryCount
                            ? static_cast<float>(entry.EntryIndex) /
                                  static_cast<float>(entry.EntryCount) * 100.0f
                            : 0.0f;
        m_scan.ShowSubProgress(percent);
    }
    m_scan.Pump();
}

}  // namespace kest::archive
