#pragma once

#include <QAbstractItemModel>
#include <functional>
#include <vector>

#include "core/explore/FolderTree.h"

namespace kest::gui {

// A disc's folders for the Explore window's tree: the root at the top, each
// folder's children asked for only when it is expanded; the files and size
// below each folder in the next columns.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    using SizeText = std::function<QString(int64_t)>;
    explicit FolderTreeModel(QObject* parent);

    void Reset(const explore::FolderTree* folders, SizeText sizeText);
    QModelIndex IndexOf(int32_t folder) const;
    int32_t FolderOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const explore::FolderTree* m_folders = nullptr;
    std::vector<int> m_rowOf;  // by folder: its row under its parent
    SizeText m_sizeText;
};

}  // namespace kest::gui
