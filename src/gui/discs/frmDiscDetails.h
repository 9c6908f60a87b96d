#pragma once

#include <QDialog>

#include "core/discs/DiscDetails.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kest::gui {

// The disc details window over the core's DiscDetails: the seven values in
// the disc list's font, the description update and the deletion. Whoever
// opened it reads DiscsChanged and DiscDeleted from the core object after it
// closed.
class frmDiscDetails : public QDialog {
    Q_OBJECT
  public:
    // Owned by owner (the main window or the file details), placed over main.
    frmDiscDetails(QWidget* owner, const QWidget* main, discs::DiscDetails& details,
                   engine::Database& db, Prompter& prompter, const QFont& discListFont);

  protected:
    void done(int result) override;

  private:
    void OnUpdateDescription();
    void OnDelete();
    // Disabled with the busy pointer while the catalog changes.
    void SetBusy(bool busy);

    discs::DiscDetails& m_details;
    engine::Database& m_db;
    Prompter& m_prompter;
    QLineEdit *txtKestID, *txtSer, *txtFileSys, *txtVolLbl, *txtNumF, *txtUDS;
    QPlainTextEdit* txtDesc;
    QLabel* Label1;
    QPushButton *cmdDel, *cmdUpDesc, *cmdOK;
};

}  // namespace kest::gui
