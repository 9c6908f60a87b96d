#include "core/details/FileDetailsWindow.h"

#include <charconv>

#include "core/search/DescriptionUpdate.h"
#include "core/search/ResultsGrid.h"
#include "core/search/SearchCommand.h"
#include "core/text/VbFormat.h"

namespace kest::details {
namespace {

constexpr int kDescriptionColumn = 11;

std::string DateInFormat(const std::string& stored, const std::string& format) {
    auto date = text::ParseIsoDateTime(stored);
    return date ? text::FormatDate(*date, format) : stored;
}

}  // namespace

std::string SizeLabel(int sizeFormat) {
    switch (sizeFormat) {
        case search::kSizeKilobytes:
            return "Size (KB)";
        case search::kSizeBytes:
            return "Size (B )";
        default:
            return "Size (MB)";
    }
}

std::string SizeInUnit(const std::string& bytes, int sizeFormat, int sizeNumDec) {
    double size = 0;
    auto parsed = std::from_chars(bytes.data(), bytes.data() + bytes.size(), size);
    if (parsed.ec != std::errc() || parsed.ptr != bytes.data() + bytes.size()) return bytes;
    if (sizeFormat == search::kSizeKilobytes)
        size /= 1024;
    else if (sizeFormat != search::kSizeBytes)
        size /= 1048576;
    return text::FormatNumber(size, search::SizeNumberPattern(sizeNumDec));
}

bool ShowsDescription(const ListTable& results) {
    for (const auto& column : results.Columns())
        if (column.tag == kDescriptionColumn) return true;
    return false;
}

void RefreshDescriptions(discs::CatalogViews& views, Prompter& prompter) {
    if (!views.searchOptions.refreshImmediately || !ShowsDescription(views.results.results)) return;
    search::RefreshResults(views.db, views.results, views.searchOptions, prompter);
}

FileDetailsWindow::FileDetailsWindow(FileDetailsRecord record, discs::CatalogViews& views)
    : description(record.file.description), m_record(std::move(record)), m_views(views) {
    const search::DisplaySnapshot& snapshot = views.results.snapshot;
    m_sizeLabel = details::SizeLabel(snapshot.sizeFormat);
    m_sizeText = SizeInUnit(m_record.file.size, snapshot.sizeFormat, snapshot.sizeNumDec);
    m_dateText = DateInFormat(m_record.file.date, snapshot.dateFormat);
    m_record.file.updates = 0;
    m_views.results.detailsOpen = true;
}

FileDetailsWindow::~FileDetailsWindow() {
    Close();
}

void FileDetailsWindow::Close() {
    m_closed = true;
    m_views.results.detailsOpen = false;
}

bool FileDetailsWindow::UpdateDescription(Prompter& prompter) {
    auto stored = search::AskAndStoreDescription(
        m_views.db, prompter,
        {"File description update",
         "This will update the file description in the database!\r\nDo you want to continue?",
         "File description update", "tblFiles", "FileDesc", "FileId", m_record.file.fileId},
        description);
    if (!stored) return false;
    m_record.file.description = *stored;
    ++m_record.file.updates;
    RefreshDescriptions(m_views, prompter);
    return true;
}

discs::DiscDetails FileDetailsWindow::DiscInfo() const {
    return discs::DiscDetails(
        m_record.disc,
        discs::UsedSpaceHeader(m_views.list.table, m_views.listOptions.showUsedSpace), true);
}

void FileDetailsWindow::AfterDiscInfo(const discs::DiscDetails& discWindow, Prompter& prompter) {
    m_record.disc.description = discWindow.Disc().description;
    if (discWindow.DiscsChanged() > 0) {
        discs::ReloadDiscList(m_views.db, m_views.list, m_views.listOptions, m_views.catalogName,
                              m_views.catalogPath, prompter);
        search::RefreshResults(m_views.db, m_views.results, m_views.searchOptions, prompter);
    }
    if (discWindow.DiscDeleted()) Close();
}

}  // namespace kest::details
