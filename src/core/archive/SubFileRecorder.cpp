#include "core/archive/SubFileRecorder.h"

#include <algorithm>

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
    std::optional<uint64_t> logLine;
    // The entry's row is stored or among the rows to save again; or the user
    // skipped it.
    bool saved = false, skipped = false;
    for (;;) {
        long number = 0;
        std::string description;
        try {
            SaveLost();
            if (!saved && !skipped) Save(entry, *row, logLine);
            return;
        } catch (const std::exception& e) {
            const KestError error = err::ToKestError(e);
            number = error.Number();
            description = error.Description();
        }
        TakeLost();
        auto lostEntry = std::find_if(m_lost.begin(), m_lost.end(), [&](const SavedRow& lost) {
            return logLine && lost.logLine == *logLine;
        });
        saved = saved || lostEntry != m_lost.end();
        Answer answer = m_prompter.Show(kErrorTitle, SaveErrorText(number, description),
                                        Icon::Critical, Buttons::AbortRetryIgnore);
        if (answer == Answer::Retry) continue;
        if (answer == Answer::Abort) {
            m_lost.clear();  // the scan cuts the log back to the first of them
            m_scan.RequestCancel();
            return;
        }
        if (!skipped) {
            // Saved and then rolled back with its batch: not saved again.
            if (lostEntry != m_lost.end()) {
                m_scan.RowDropped(lostEntry->logLine);
                m_lost.erase(lostEntry);
            }
            m_scan.WriteLog("      " + LogNumber(entry.EntryIndex) + "~~ This file was ignored.");
            skipped = true;
        }
    }
}

void SubFileRecorder::TakeLost() {
    const size_t lost = m_scan.RowsLost();
    const size_t fresh = std::min(lost - std::min(lost, m_lost.size()), m_saved.size());
    m_lost.insert(m_lost.begin(), m_saved.end() - static_cast<ptrdiff_t>(fresh), m_saved.end());
    m_saved.clear();
}

void SubFileRecorder::SaveLost() {
    while (!m_lost.empty()) {
        m_scan.BeforeRow();
        Insert(m_lost.front());
        m_saved.push_back(std::move(m_lost.front()));
        m_lost.pop_front();
        if (m_scan.AfterRow(m_saved.back().logLine)) m_saved.clear();
    }
}

void SubFileRecorder::Save(const FileFound& entry, const SubFileRow& row,
                           std::optional<uint64_t>& logLine) {
    m_scan.BeforeRow();
    if (!logLine) {
        logLine = m_scan.LogPosition();
        std::string line = "   " + LogNumber(entry.EntryIndex) + ":: \"" + row.SubFileDir +
                           "\",\"" + row.SubFileName + "\"," + std::to_string(row.SubFileSize);
        text::MaskControls(line);  // the names stay on their line
        m_scan.WriteLog(line);
    }
    m_scan.ShowSubFileStatus("::" + entry.FileName);

    SavedRow saved{m_scan.CurrentDiscId(), m_scan.CurrentFileId(), row, *logLine};
    Insert(saved);
    m_saved.push_back(std::move(saved));
    if (m_scan.AfterRow(*logLine)) m_saved.clear();

    if (m_scan.EstimateBeforeScan()) {
        float percent = entry.EntryIndex < entry.EntryCount
                            ? static_cast<float>(entry.EntryIndex) /
                                  static_cast<float>(entry.EntryCount) * 100.0f
                            : 0.0f;
        m_scan.ShowSubProgress(percent);
    }
    m_scan.Pump();
}

void SubFileRecorder::Insert(const SavedRow& saved) {
    if (!m_insert) {
        m_insert = m_db.Prepare(
            "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileAtt, "
            "SubFileCRC, SubFileSize, SubFileCSize, SubFileRatio, SubFileDate, SubFileComm, "
            "SubFileMeth, SubFileSMeth, SubFileEncr, SubFileFlags) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    }
    const SubFileRow& row = saved.row;
    engine::Statement& insert = *m_insert;
    insert.Bind(1, saved.discId);
    insert.Bind(2, saved.fileId);
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
}

}  // namespace kest::archive
