#include "core/details/FileDetailsLookup.h"

#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/engine/FirstRow.h"
#include "core/search/SearchOptions.h"
#include "core/search/SearchText.h"
#include "core/search/SqlText.h"

namespace kest::details {
namespace {

constexpr const char* kErrorTitle = "Results DblClick Error";

std::string UsedSpaceExpression(const discs::DiscListOptions& options) {
    std::string pattern = search::SizeNumberPattern(options.sizeNumDec);
    switch (options.sizeFormat) {
        case search::kSizeBytes:
            return "SUM(tblFiles.FileSize) AS UsedSpace ";
        case search::kSizeKilobytes:
            return "FORMAT((SUM(tblFiles.FileSize))/1024,'" + pattern + "') AS UsedSpace ";
        default:
            return "FORMAT((SUM(tblFiles.FileSize))/1048576,'" + pattern + "') AS UsedSpace ";
    }
}

// The three lookups; false when a row is missing (its message shown).
bool Fill(engine::Database& db, const std::string& kestId, const std::string& fileId,
          const discs::DiscListOptions& options, Prompter& prompter, FileDetailsRecord& record) {
    auto disc =
        engine::FirstRow(db,
                         "SELECT DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF FROM tblDiscs "
                         "WHERE tblDiscs.KestID=" +
                             search::SqlWholeNumber(kestId));
    if (!disc) {
        prompter.Show(kAppTitle, "No record with KestID=" + kestId);
        return false;
    }
    const auto& d = *disc;
    record.disc = discs::SelectedDisc{kestId, d[0], d[1], d[2], d[3], d[4], ""};

    auto file = engine::FirstRow(db,
                                 "SELECT FileDir, FileName, FileAtt, FileSize, FileDate, FileDesc "
                                 "FROM tblFiles WHERE tblFiles.FileId=" +
                                     search::SqlWholeNumber(fileId));
    if (!file) {
        prompter.Show(kAppTitle, "No record with FileID=" + fileId);
        return false;
    }
    const auto& f = *file;
    record.file = CurrentFile{fileId, f[0], f[1], f[2], f[3], f[4], f[5], 0};

    if (options.showUsedSpace) {
        auto used =
            engine::FirstRow(db, "SELECT " + UsedSpaceExpression(options) +
                                     "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = "
                                     "tblFiles.KestId WHERE tblDiscs.KestID=" +
                                     kestId + ";");
        if (!used) {
            prompter.Show(kAppTitle,
                          "No records for Used Disc Space for Disc with KestId=" + kestId);
            return false;
        }
        record.disc.usedSpace = (*used)[0];
    }
    return true;
}

}  // namespace

std::optional<FileDetailsRecord> LookUpFileDetails(engine::Database& db, const std::string& kestId,
                                                   const std::string& fileId,
                                                   const discs::DiscListOptions& listOptions,
                                                   Prompter& prompter) {
    try {
        FileDetailsRecord record;
        if (!Fill(db, kestId, fileId, listOptions, prompter, record)) return std::nullopt;
        return record;
    } catch (const KestError& e) {
        prompter.ShowError(kErrorTitle, e.Number(), e.Description());
        return std::nullopt;
    }
}

std::optional<FileDetailsRecord> LookUpResultsRow(engine::Database& db, const ListTable& results,
                                                  search::GridSelection selection,
                                                  const discs::DiscListOptions& listOptions,
                                                  Prompter& prompter) {
    size_t row = selection.rowSel;
    if (row == 0 || row > results.RowCount() || results.ColumnCount() < 2) return std::nullopt;
    std::string kestId = search::TrimBlanks(results.Cell(row - 1, 0));
    if (kestId.empty()) return std::nullopt;
    return LookUpFileDetails(db, kestId, std::string(results.Cell(row - 1, 1)), listOptions,
                             prompter);
}

std::optional<FileDetailsRecord> LookUpFileDetails(engine::Database& db, const std::string& fileId,
                                                   const discs::DiscListOptions& listOptions,
                                                   Prompter& prompter) {
    try {
        auto owner = engine::FirstRow(db, "SELECT KestId FROM tblFiles WHERE tblFiles.FileId=" +
                                              search::SqlWholeNumber(fileId));
        if (!owner) {
            prompter.Show(kAppTitle, "No record with FileID=" + fileId);
            return std::nullopt;
        }
        return LookUpFileDetails(db, (*owner)[0], fileId, listOptions, prompter);
    } catch (const KestError& e) {
        prompter.ShowError(kErrorTitle, e.Number(), e.Description());
        return std::nullopt;
    }
}

}  // namespace kest::details
