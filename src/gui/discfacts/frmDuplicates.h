#pragma once

#include <QDialog>

#include "core/app/Session.h"
#include "core/table/ListTable.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kest::gui {

class ListGrid;
class ListTableModel;

// Tools > Find Duplicates...: the files the catalog holds more than once
// (largest waste first), or the files that exist on one of the chosen discs
// only, over all discs or a list of them ("3,7-9"), optionally with the same
// date; either list saved as text or CSV like the other lists.
class frmDuplicates : public QDialog {
    Q_OBJECT
  public:
    frmDuplicates(QWidget* owner, app::Session& session, const std::string& discSummary);

  private:
    void OnFind();
    void OnSave(int format);

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
};

}  // namespace kest::gui
