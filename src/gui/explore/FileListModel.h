#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <functional>
#include <memory>
#include <vector>

#include "core/explore/FileReader.h"
#include "core/explore/TreeItems.h"
#include "core/search/SearchOptions.h"

namespace kest::gui {

// One place's subfolders, then its files, for the Explore window's list: the
// results grid's file columns (name, size, date, attributes, description)
// and, inside an archive, the entries' packed size, ratio, CRC and
// encryption. Files are read a page at a time as the view scrolls
// (canFetchMore/fetchMore); the reader may be let go of between pages (it
// holds a statement on the catalog) and is opened again where it stopped.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Name, Size, Date, Attributes, Description, Packed, Ratio, Crc, Encrypted, Count };
    using OpenReader =
        std::function<std::unique_ptr<explore::FileReader>(explore::FileOrder, int64_t skip)>;

    FileListModel(QObject* parent, const search::SearchOptions& options);

    // A new place: its folders and a way to its files; busy says when the
    // catalog must not be read now.
    void Reset(std::vector<explore::FolderItem> folders, OpenReader open,
               std::function<bool()> busy);
    // Lets go of the reader (the rows read so far stay).
    void Release() { m_reader.reset(); }

    bool IsFolder(int row) const { return row >= 0 && static_cast<size_t>(row) < m_folders.size(); }
    const explore::FolderItem& FolderAt(int row) const {
        return m_folders[static_cast<size_t>(row)];
    }
    const explore::FileItem* FileAt(int row) const;
    // The row of the file with this identifier, reading on until it comes.
    int RowOfFile(int64_t id);
    // The row's cells joined by tabs, as copied.
    QString RowText(int row) const;

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    QString Cell(int row, int column) const;
    bool FetchPage();

    const search::SearchOptions m_options;  // as they were when the window opened
    std::vector<explore::FolderItem> m_folders;
    std::vector<explore::FileItem> m_files;
    OpenReader m_open;
    std::function<bool()> m_busy;
    std::unique_ptr<explore::FileReader> m_reader;
    explore::FileOrder m_order;
    bool m_complete = true;
    QIcon m_folderIcon, m_archiveIcon, m_fileIcon;  // made once: the style makes them anew
};

}  // namespace kest::gui
