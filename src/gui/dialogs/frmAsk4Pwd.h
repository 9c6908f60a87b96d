#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kest::gui {

// The catalog password prompt: a masked box, OK (disabled until something
// other than blanks is typed) and Cancel.
class frmAsk4Pwd : public QDialog {
    Q_OBJECT
  public:
    explicit frmAsk4Pwd(QWidget* main);

    // 1 with the text as typed (not trimmed) after OK; 2 and empty otherwise.
    int promptResult() const { return m_result; }
    QString password() const { return m_password; }

  private:
    void OnOK();

    QLabel* Label1;
    QLineEdit* txtPwd;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    int m_result = 2;
    QString m_password;
};

}  // namespace kest::gui
