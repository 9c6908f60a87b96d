#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

#include "core/app/Session.h"
#include "core/table/ListTable.h"
#include "gui/explore/ExploreHost.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace kest::gui {

class ListGrid;
class ListTableModel;

// Tools > Find Duplicates...: the files the catalog holds more than once
// (largest waste first), or the files that exist on one of the chosen discs
// only, over all discs or a list of them ("3,7-9"), optionally with the same
// date; either list saved as text or CSV like the other lists. A listed file
// opens its File Details (Enter, double-click) or its folder in the Explore
// window, from the list's pop-up menu.
class frmDuplicates : public QDialog {
    Q_OBJECT
  public:
    frmDuplicates(QWidget* owner, ExploreHost host, const std::string& discSummary);

  private:
    void BuildMenu();
    void OnFind();
    void OnSave(int format);
    std::optional<int64_t> CurrentFileId() const;
    void ShowFileDetails();
    void ShowInFolderTree();
    void ShowMenu(const QPoint& at);

    ExploreHost m_host;
    app::Session& m_session;
    std::string m_discSummary;
    ListTable m_table;
    bool m_singleCopy = false;  // the list shown is of files on one disc only
    ListTableModel* m_model;
    QComboBox* cboList;  // duplicates, or files on one disc only
    QLineEdit* txtDiscs;
    QCheckBox* chkSameDate;
    QPushButton *cmdFind, *cmdSaveText, *cmdSaveCsv, *cmdClose;
    ListGrid* fgdCopies;
    QLabel* lblCopies;
    QMenu* mnuCopiesPopUp;
};

}  // namespace kest::gui
