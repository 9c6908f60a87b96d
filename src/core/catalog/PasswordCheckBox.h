#pragma once

#include <functional>

#include "core/catalog/CurrentCatalog.h"
#include "core/catalog/PasswordForm.h"
#include "core/ui/Prompter.h"

namespace kest {

// "Password Protection" (chkPass) and the change button (cmdChangePass) on
// the Security tab of the options dialog. The window draws the password
// window; showForm shows it modally with the form it is given.
class PasswordCheckBox {
  public:
    using ShowForm = std::function<void(PasswordForm&)>;

    // As the dialog loads: checked exactly when the catalog has a password;
    // setting it then is no click.
    explicit PasswordCheckBox(const CurrentCatalog& current)
        : m_checked(!current.password.empty()) {}

    bool Checked() const { return m_checked; }
    bool ChangeEnabled() const { return m_checked; }

    // The user checked the box: the password window in mode 1; the box stays
    // checked only when that set a password. The user unchecked it: the
    // protection is removed at once.
    void Click(bool checked, CurrentCatalog& current, Prompter& prompter, const ShowForm& show);
    // The change button: the password window in mode 2.
    void ChangeClicked(CurrentCatalog& current, Prompter& prompter, const ShowForm& show);

  private:
    bool m_checked;
};

}  // namespace kest
