#pragma once

#include <QDialog>

#include "core/catalog/PasswordForm.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kest::gui {

// The set/change password window over the core's PasswordForm: three masked
// boxes, OK and Cancel. A refused password empties the boxes and moves the
// focus where the form says; the window stays open for another try.
class frmPassword : public QDialog {
    Q_OBJECT
  public:
    frmPassword(QWidget* owner, const QWidget* main, PasswordForm& form);

  protected:
    void done(int result) override;

  private:
    void OnOK();
    QLineEdit* Box(PasswordBox box) const;

    PasswordForm& m_form;
    QGroupBox *fraOldPswd, *fraNewPswd;
    QLabel *lblOldPswd, *lblNewPswd, *lblNewPswdRe;
    QLineEdit *txtOldPswd, *txtNewPswd, *txtNewPswdRe;
    QPushButton *cmdOK, *cmdCancel;
};

}  // namespace kest::gui
