#include "gui/explore/FolderTreeModel.h"

#include <QApplication>
#include <QStyle>

#include "core/explore/ExploreTexts.h"

namespace kest::gui {

FolderTreeModel::FolderTreeModel(QObject* parent)
    : QAbstractItemModel(parent),
      m_folderIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon)) {}

void FolderTreeModel::Reset(explore::DiscTree* tree, CatalogNow catalog, SizeText sizeText) {
    beginResetModel();
    m_tree = tree;
    m_catalog = std::move(catalog);
    m_sizeText = std::move(sizeText);
    m_shown.clear();
    endResetModel();
}

bool FolderTreeModel::Shown(int32_t folder) const {
    return folder >= 0 && static_cast<size_t>(folder) < m_shown.size() &&
           m_shown[static_cast<size_t>(folder)];
}

QModelIndex FolderTreeModel::IndexOf(int32_t folder) const {
    if (!m_tree || folder < 0 || static_cast<size_t>(folder) >= m_tree->Folders().Size()) return {};
    return createIndex(Node(folder).row, 0, quintptr(folder));
}

QModelIndex FolderTreeModel::Reveal(int32_t folder) {
    std::vector<int32_t> above;
    for (int32_t up = folder; m_tree && up > explore::FolderTree::kRoot;)
        above.push_back(up = Node(up).parent);
    for (auto it = above.rbegin(); it != above.rend(); ++it)
        if (canFetchMore(IndexOf(*it))) fetchMore(IndexOf(*it));
    return IndexOf(folder);
}

int32_t FolderTreeModel::FolderOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<int32_t>(index.internalId()) : -1;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!m_tree || row < 0 || column < 0 || column >= 3) return {};
    if (!parent.isValid())
        return row == 0 ? createIndex(0, column, quintptr(explore::FolderTree::kRoot))
                        : QModelIndex();
    if (!Shown(FolderOf(parent))) return {};
    const auto& children = Node(FolderOf(parent)).children;
    if (static_cast<size_t>(row) >= children.size()) return {};
    return createIndex(row, column, quintptr(children[static_cast<size_t>(row)]));
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    const int32_t folder = FolderOf(child);
    if (!m_tree || folder <= explore::FolderTree::kRoot) return {};
    return IndexOf(Node(folder).parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!m_tree) return 0;
    if (!parent.isValid()) return 1;
    if (parent.column() != 0 || !Shown(FolderOf(parent))) return 0;
    return static_cast<int>(Node(FolderOf(parent)).children.size());
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_tree != nullptr;
    if (parent.column() != 0) return false;
    return Node(FolderOf(parent)).foldersBelow > 0;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    return parent.isValid() && parent.column() == 0 && !Shown(FolderOf(parent)) &&
           Node(FolderOf(parent)).foldersBelow > 0;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    engine::Database* db = m_catalog();
    if (!db) return;
    const int32_t folder = FolderOf(parent);
    m_tree->ReadSubfolders(*db, folder);
    const int count = static_cast<int>(Node(folder).children.size());
    if (count > 0) beginInsertRows(parent, 0, count - 1);
    if (m_shown.size() <= static_cast<size_t>(folder))
        m_shown.resize(static_cast<size_t>(folder) + 1);
    m_shown[static_cast<size_t>(folder)] = true;
    if (count > 0) endInsertRows();
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 3;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!m_tree || !index.isValid()) return {};
    const int32_t folder = FolderOf(index);
    const explore::FolderNode& node = Node(folder);
    if (role == Qt::DecorationRole && index.column() == 0) return m_folderIcon;
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
        case 0:
            return folder == explore::FolderTree::kRoot
                       ? QStringLiteral("<root>")
                       : QString::fromStdString(explore::ShownName(node.name));
        case 1:
            return QString::number(node.filesBelow);
        default:
            return m_sizeText(node.bytesBelow);
    }
}

QVariant FolderTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[] = {"Folder", "Files", "Size"};
    return QString::fromLatin1(titles[section]);
}

}  // namespace kest::gui
