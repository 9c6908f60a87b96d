#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "core/explore/DiscTree.h"
#include "core/search/SearchOptions.h"
#include "gui/explore/ExploreHost.h"

class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QToolButton;
class QTreeView;

namespace kest::gui {

class FileListModel;
class FolderTreeModel;

// frmExplore: one catalogued disc walked offline. The folder tree on the
// left (the files and size below each folder), the place's subfolders and
// files on the right, the path bar above them and the disc's label, serial
// and description in the caption line. Archives open as folders of their
// entries. A disc deleted, or a catalog closed, while the window is open is
// noticed at its next use: the window says so and closes.
class frmExplore : public QWidget {
    Q_OBJECT
  public:
    // Opens the disc at its root; none (after saying so) when the catalog
    // has no such disc.
    static frmExplore* Open(QWidget* main, ExploreHost host, int32_t kestId);
    // Opens the disc of a file at its folder with the file selected.
    static frmExplore* ShowFile(QWidget* main, ExploreHost host, int64_t fileId);

    // Goes to a place (a history step unless it is one); false when the
    // disc has no such folder or archive.
    bool Go(const explore::FolderPath& path, bool remember = true);
    void Back();
    void Forward();
    void Up();
    // The list's current row: a folder or archive opens, a file shows its details.
    void ActivateRow(int row);
    void ShowFileDetails();
    void RunFileFunction(int function);
    void CopyRows();
    const explore::FolderPath& Path() const { return m_path; }
    QTableView* List() const { return lvwFiles; }

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    frmExplore(QWidget* main, ExploreHost host, explore::DiscTree tree);
    void Build();
    void ConnectActions();
    // Whether the disc is still there to show; otherwise says so and closes.
    bool StillThere();
    engine::Database* Db() const;
    void SelectTreeFolder();
    void ShowStatus();
    const explore::FileItem* CurrentFile() const;
    void ShowMenu(const QPoint& at);

    ExploreHost m_host;
    explore::DiscTree m_tree;
    std::string m_catalogPath;
    search::SearchOptions m_options;
    explore::FolderPath m_path;
    explore::Place m_place;
    std::vector<explore::FolderPath> m_back, m_forward;
    bool m_closing = false;

    QLabel* lblDisc;
    QLineEdit* txtPath;
    QToolButton *cmdBack, *cmdForward, *cmdUp;
    QTreeView* tvwFolders;
    QTableView* lvwFiles;
    QLabel* lblStatus;
    QMenu* mnuExplorePopUp;
    FolderTreeModel* m_folderModel;
    FileListModel* m_fileModel;
};

}  // namespace kest::gui
