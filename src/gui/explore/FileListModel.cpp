#include "gui/explore/FileListModel.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

#include "core/explore/ExploreTexts.h"
#include "core/text/TextOrder.h"

namespace kest::gui {
namespace {

// Rows read per page: a screenful many times over, a few milliseconds.
constexpr size_t kPage = 500;

explore::FileColumn FileColumnOf(int column) {
    switch (column) {
        case FileListModel::Size:
            return explore::FileColumn::Size;
        case FileListModel::Date:
            return explore::FileColumn::Date;
        case FileListModel::Attributes:
            return explore::FileColumn::Attributes;
        case FileListModel::Description:
            return explore::FileColumn::Description;
        case FileListModel::Packed:
            return explore::FileColumn::Packed;
        case FileListModel::Ratio:
            return explore::FileColumn::Ratio;
        case FileListModel::Crc:
            return explore::FileColumn::Crc;
        default:
            return explore::FileColumn::Name;
    }
}

}  // namespace

FileListModel::FileListModel(QObject* parent, const search::SearchOptions& options)
    : QAbstractTableModel(parent),
      m_options(options),
      m_folderIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
      m_archiveIcon(QApplication::style()->standardIcon(QStyle::SP_DirLinkIcon)),
      m_fileIcon(QApplication::style()->standardIcon(QStyle::SP_FileIcon)) {}

void FileListModel::Reset(std::vector<explore::FolderItem> folders, OpenReader open,
                          std::function<bool()> busy) {
    beginResetModel();
    m_folders = std::move(folders);
    m_files.clear();
    m_open = std::move(open);
    m_busy = std::move(busy);
    m_reader.reset();
    m_complete = false;
    endResetModel();
    // The first page at once, so the list is not empty until it scrolls.
    if (canFetchMore({})) fetchMore({});
}

const explore::FileItem* FileListModel::FileAt(int row) const {
    if (row < 0 || static_cast<size_t>(row) < m_folders.size()) return nullptr;
    size_t i = static_cast<size_t>(row) - m_folders.size();
    return i < m_files.size() ? &m_files[i] : nullptr;
}

int FileListModel::RowOfFile(int64_t id) {
    for (size_t i = 0;; ++i) {
        while (i >= m_files.size())
            if (!FetchPage()) return -1;
        if (m_files[i].id == id && !m_files[i].entry) return static_cast<int>(m_folders.size() + i);
    }
}

bool FileListModel::FetchPage() {
    if (m_complete || (m_busy && m_busy())) return false;
    if (!m_reader) m_reader = m_open(m_order, static_cast<int64_t>(m_files.size()));
    std::vector<explore::FileItem> page;
    m_reader->Next(page, kPage);
    if (m_reader->AtEnd()) {
        m_complete = true;
        m_reader.reset();
    }
    if (page.empty()) return false;
    const int first = rowCount({});
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    std::move(page.begin(), page.end(), std::back_inserter(m_files));
    endInsertRows();
    return true;
}

bool FileListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !m_complete && m_open && !(m_busy && m_busy());
}

void FileListModel::fetchMore(const QModelIndex& parent) {
    if (!parent.isValid()) FetchPage();
}

void FileListModel::sort(int column, Qt::SortOrder order) {
    if (!m_open) return;
    const bool descending = order == Qt::DescendingOrder;
    beginResetModel();
    std::stable_sort(m_folders.begin(), m_folders.end(),
                     [&](const explore::FolderItem& a, const explore::FolderItem& b) {
                         int by = column == Size ? (a.bytes < b.bytes ? -1 : a.bytes > b.bytes)
                                                 : text::CompareText(a.name, b.name);
                         return descending ? by > 0 : by < 0;
                     });
    m_order = {FileColumnOf(column), descending};
    m_files.clear();
    m_reader.reset();
    m_complete = false;
    endResetModel();
    if (canFetchMore({})) fetchMore({});
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_folders.size() + m_files.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count;
}

QString FileListModel::Cell(int row, int column) const {
    auto size = [&](int64_t bytes) {
        return QString::fromStdString(
            explore::SizeShown(bytes, m_options.sizeFormat, m_options.sizeNumDec));
    };
    if (IsFolder(row)) {
        const explore::FolderItem& folder = FolderAt(row);
        if (column == Name) return QString::fromStdString(explore::ShownName(folder.name));
        if (column == Size) return size(folder.bytes);
        if (column == Description)
            return QString::fromStdString(explore::CountText(folder.files, "file"));
        return {};
    }
    const explore::FileItem* file = FileAt(row);
    if (!file) return {};
    switch (column) {
        case Name:
            return QString::fromStdString(explore::ShownName(file->name));
        case Size:
            return size(file->size);
        case Date:
            return QString::fromStdString(explore::DateShown(file->date, m_options.dateFormat));
        case Attributes:
            return QString::fromStdString(file->attributes);
        case Description:
            return QString::fromStdString(explore::ShownName(file->description));
        case Packed:
            return file->entry ? size(file->packed) : QString();
        case Ratio:
            return QString::fromStdString(file->ratio);
        case Crc:
            return QString::fromStdString(file->crc);
        case Encrypted:
            return file->entry && file->encrypted ? QStringLiteral("Yes") : QString();
        default:
            return {};
    }
}

QString FileListModel::RowText(int row) const {
    QStringList cells;
    for (int c = 0; c < Count; ++c) cells << Cell(row, c);
    while (!cells.isEmpty() && cells.back().isEmpty()) cells.removeLast();
    return cells.join(QLatin1Char('\t'));
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    if (role == Qt::DecorationRole && index.column() == Name) {
        const explore::FileItem* file = FileAt(row);
        return IsFolder(row) ? m_folderIcon : file && file->archive ? m_archiveIcon : m_fileIcon;
    }
    if (role == Qt::TextAlignmentRole &&
        (index.column() == Size || index.column() == Packed || index.column() == Ratio))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
        return Cell(row, index.column());
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const auto& files = m_options.fileCaptions;
    const auto& entries = m_options.subFileCaptions;
    const std::string unit = search::SizeUnitText(m_options.sizeFormat);
    switch (section) {
        case Name:
            return QString::fromStdString(files[7]);
        case Size:
            return QString::fromStdString(files[9] + unit);
        case Date:
            return QString::fromStdString(files[10]);
        case Attributes:
            return QString::fromStdString(files[8]);
        case Description:
            return QString::fromStdString(files[11]);
        case Packed:
            return QString::fromStdString(entries[4] + unit);
        case Ratio:
            return QString::fromStdString(entries[5]);
        case Crc:
            return QString::fromStdString(entries[7]);
        default:
            return QString::fromStdString(entries[8]);
    }
}

}  // namespace kest::gui
