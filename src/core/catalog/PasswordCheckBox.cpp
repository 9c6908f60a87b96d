#include "core/catalog/PasswordCheckBox.h"

namespace kest {

void PasswordCheckBox::Click(bool checked, CurrentCatalog& current, Prompter& prompter,
                             const ShowForm& show) {
    if (checked) {
        PasswordForm form(current, prompter, PasswordMode::Set);
        show(form);
        m_checked = form.PasswordSet();
    } else {
        RemovePassword(current, prompter);
        m_checked = false;
    }
}

void PasswordCheckBox::ChangeClicked(CurrentCatalog& current, Prompter& prompter,
                                     const ShowForm& show) {
    PasswordForm form(current, prompter, PasswordMode::Change);
    show(form);
}

}  // namespace kest
