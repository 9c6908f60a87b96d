#pragma once

#include <QWidget>

#include "core/explore/DiscTree.h"
#include "gui/explore/ExploreHistory.h"
#include "gui/explore/ExploreHost.h"

class QLabel;
class QTableView;

namespace kest::gui {

class ExplorePathBar;
class FileListPane;
class FolderTreePane;

// frmExplore: one catalogued disc walked offline. The window assembles the
// path bar, the folder tree on the left (the files and size below each
// folder), the place's subfolders and files on the right and the disc's
// label, serial and description in the caption line, and goes where they
// ask. Archives open as folders of their entries. A disc deleted, or a
// catalog closed, while the window is open is noticed at its next use: the
// window says so and closes.
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
    const explore::FolderPath& Path() const { return m_history.Current(); }
    QTableView* List() const;

  protected:
    bool event(QEvent* event) override;

  private:
    frmExplore(QWidget* main, ExploreHost host, explore::DiscTree tree);
    void Build();
    void ConnectParts();
    // Whether the disc is still there to show; otherwise says so and closes.
    bool StillThere();
    engine::Database* Db() const;
    void ShowFileDetails();
    void RunFileFunction(int function);

    ExploreHost m_host;
    explore::DiscTree m_tree;
    std::string m_catalogPath;
    explore::Place m_place;
    ExploreHistory m_history;
    bool m_closing = false;

    ExplorePathBar* fraPath;
    FolderTreePane* tvwFolders;
    FileListPane* lvwFiles;
    QLabel* lblStatus;
};

}  // namespace kest::gui
