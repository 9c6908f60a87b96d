#include "gui/explore/FolderTreePane.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "gui/widgets/Named.h"

namespace kest::gui {

FolderTreePane::FolderTreePane(QWidget* parent, explore::DiscTree& tree,
                               FolderTreeModel::CatalogNow catalog,
                               FolderTreeModel::SizeText sizeText)
    : QTreeView(parent), m_model(new FolderTreeModel(this)) {
    Named(this, "tvwFolders", "Folders");
    m_model->Reset(&tree, std::move(catalog), std::move(sizeText));
    setModel(m_model);
    setUniformRowHeights(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 3; ++c) header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    expand(m_model->IndexOf(explore::FolderTree::kRoot));
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                const int32_t folder = m_model->FolderOf(current);
                if (folder >= 0) emit FolderChosen(folder);
            });
}

void FolderTreePane::Select(int32_t folder) {
    const QModelIndex index = m_model->Reveal(folder);
    const QSignalBlocker quiet(selectionModel());
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
    setCurrentIndex(index);
    scrollTo(index);
}

void FolderTreePane::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
        emit UpWanted();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace kest::gui
