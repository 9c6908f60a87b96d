#pragma once

#include <QWidget>

#include "core/catalog/PasswordCheckBox.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace kest::gui {

// The options dialog's Security tab: the catalog's password protection over
// the core's PasswordCheckBox, in a frame named after the catalog. It opens
// the password window owned by the options dialog; without a catalog the
// whole tab is disabled.
class SecurityTab : public QWidget {
    Q_OBJECT
  public:
    SecurityTab(QWidget* optionsDialog, const QWidget* main, CurrentCatalog& current,
                Prompter& prompter);

  private:
    void OnCheckClicked(bool checked);
    void OnChangeClicked();
    void ShowState();
    void ShowPasswordWindow(PasswordForm& form);

    QWidget* m_optionsDialog;
    const QWidget* m_main;
    CurrentCatalog& m_current;
    Prompter& m_prompter;
    PasswordCheckBox m_password;
    QGroupBox* fraSecurity;
    QCheckBox* chkPass;
    QPushButton* cmdChangePass;
};

}  // namespace kest::gui
