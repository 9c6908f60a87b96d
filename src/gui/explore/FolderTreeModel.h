#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <vector>

#include "core/explore/DiscTree.h"

namespace kest::gui {

// A disc's folders for the Explore window's tree: the root at the top, each
// folder's children read from the catalog only when it is first expanded
// (fetchMore); the files and size below each folder in the next columns.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    using SizeText = std::function<QString(int64_t)>;
    // The catalog to read from; none while it cannot be read.
    using CatalogNow = std::function<engine::Database*()>;
    explicit FolderTreeModel(QObject* parent);

    void Reset(explore::DiscTree* tree, CatalogNow catalog, SizeText sizeText);
    QModelIndex IndexOf(int32_t folder) const;
    // The folder's index with the folders above it holding their rows.
    QModelIndex Reveal(int32_t folder);
    int32_t FolderOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool hasChildren(const QModelIndex& parent) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  private:
    bool Shown(int32_t folder) const;
    const explore::FolderNode& Node(int32_t folder) const { return m_tree->Folders().Node(folder); }

    explore::DiscTree* m_tree = nullptr;
    CatalogNow m_catalog;
    std::vector<bool> m_shown;  // by folder: whether its children have rows
    SizeText m_sizeText;
    QIcon m_folderIcon;  // made once: the style makes it anew at every call
};

}  // namespace kest::gui
