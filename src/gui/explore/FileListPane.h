#pragma once

#include <QTableView>
#include <string>

#include "core/search/SearchOptions.h"
#include "gui/explore/FileListModel.h"

class QMenu;

namespace kest::gui {

// The Explore window's list (lvwFiles): the place's subfolders and files,
// its pop-up menu (mnuExplorePopUp: file details, the file functions, copy)
// and its keys (Enter opens the row, Ctrl+C copies the rows, Backspace goes
// up). What a row's choice does is the window's: the list only asks.
class FileListPane : public QTableView {
    Q_OBJECT
  public:
    FileListPane(QWidget* parent, const search::SearchOptions& options, const QFont& font);

    // A new place: its folders, a way to its files, when the catalog must not
    // be read; an archive's entries show their own columns.
    void Show(std::vector<explore::FolderItem> folders, FileListModel::OpenReader open,
              std::function<bool()> busy, bool inArchive);
    // Lets go of the catalog (the rows read so far stay).
    void Release();
    void SelectRow(int row);
    // Selects the subfolder or file of that name, or the file of that id.
    void SelectName(const std::string& name);
    void SelectFile(int64_t fileId);
    const explore::FileItem* CurrentFile() const;
    // The selected rows (or the current one) onto the clipboard, one a line.
    void CopyRows();

  signals:
    // A subfolder's or an archive's row chosen: the window goes into it.
    void OpenWanted(const std::string& name);
    void DetailsWanted();
    void FileFunctionWanted(int function);
    void UpWanted();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildMenu();
    void ShowMenu(const QPoint& at);
    void ActivateRow(int row);

    FileListModel* m_model;
    QMenu* mnuExplorePopUp;
};

}  // namespace kest::gui
