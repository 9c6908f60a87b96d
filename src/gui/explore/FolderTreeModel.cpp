#include "gui/explore/FolderTreeModel.h"

#include <QApplication>
#include <QStyle>

#include "core/explore/ExploreTexts.h"

namespace kest::gui {

FolderTreeModel::FolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void FolderTreeModel::Reset(const explore::FolderTree* folders, SizeText sizeText) {
    beginResetModel();
    m_folders = folders;
    m_sizeText = std::move(sizeText);
    m_rowOf.assign(folders ? folders->Size() : 0, 0);
    for (size_t f = 0; f < m_rowOf.size(); ++f) {
        const auto& children = folders->Node(static_cast<int32_t>(f)).children;
        for (size_t row = 0; row < children.size(); ++row)
            m_rowOf[static_cast<size_t>(children[row])] = static_cast<int>(row);
    }
    endResetModel();
}

QModelIndex FolderTreeModel::IndexOf(int32_t folder) const {
    if (!m_folders || folder < 0 || static_cast<size_t>(folder) >= m_rowOf.size()) return {};
    return createIndex(m_rowOf[static_cast<size_t>(folder)], 0, quintptr(folder));
}

int32_t FolderTreeModel::FolderOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<int32_t>(index.internalId()) : -1;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!m_folders || row < 0 || column < 0 || column >= 3) return {};
    if (!parent.isValid())
        return row == 0 ? createIndex(0, column, quintptr(explore::FolderTree::kRoot))
                        : QModelIndex();
    const auto& children = m_folders->Node(FolderOf(parent)).children;
    if (static_cast<size_t>(row) >= children.size()) return {};
    return createIndex(row, column, quintptr(children[static_cast<size_t>(row)]));
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    const int32_t folder = FolderOf(child);
    if (!m_folders || folder <= explore::FolderTree::kRoot) return {};
    return IndexOf(m_folders->Node(folder).parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!m_folders) return 0;
    if (!parent.isValid()) return 1;
    if (parent.column() != 0) return 0;
    return static_cast<int>(m_folders->Node(FolderOf(parent)).children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 3;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!m_folders || !index.isValid()) return {};
    const int32_t folder = FolderOf(index);
    const explore::FolderNode& node = m_folders->Node(folder);
    if (role == Qt::DecorationRole && index.column() == 0)
        return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
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
