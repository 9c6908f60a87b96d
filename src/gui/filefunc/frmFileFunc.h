#pragma once

#include <QDialog>

#include "core/filefunc/FileFunction.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace kest::gui {

// The file function dialog over the core's FileFuncDialog: the drive list,
// the default-drive button and OK, whose tool tip names the path it opens.
class frmFileFunc : public QDialog {
    Q_OBJECT
  public:
    frmFileFunc(QWidget* main, filefunc::FileFuncDialog& function, Prompter& prompter);

  private:
    void OnDriveChosen(int index);
    void OnSetDefaultDrive();
    void OnOK();

    filefunc::FileFuncDialog& m_function;
    Prompter& m_prompter;
    QLabel* lblInstruction;
    QComboBox* drvFile;
    QPushButton* cmdSetDefDr;
    QLabel* lblDDmsg;
    QPushButton *cmdOK, *cmdCancel;
};

}  // namespace kest::gui
