#pragma once

#include <QTreeView>

#include "gui/explore/FolderTreeModel.h"

namespace kest::gui {

// The Explore window's folder tree (tvwFolders): the disc's folders with the
// files and size below each, the root expanded.
class FolderTreePane : public QTreeView {
    Q_OBJECT
  public:
    // The tree's folders are read from the catalog as they are expanded.
    FolderTreePane(QWidget* parent, explore::DiscTree& tree, FolderTreeModel::CatalogNow catalog,
                   FolderTreeModel::SizeText sizeText);

    // Shows a folder as the current one (its parents expanded), unannounced.
    void Select(int32_t folder);

  signals:
    // The user moved to another folder of the tree.
    void FolderChosen(int32_t folder);
    // Backspace: the place's parent.
    void UpWanted();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    FolderTreeModel* m_model;
};

}  // namespace kest::gui
