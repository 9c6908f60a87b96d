#pragma once

#include <string>

#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

namespace kest {

enum class PasswordMode { Set = 1, Change = 2 };
enum class PasswordBox { Old, New, Retype };

// The set/change password window (frmPassword) as rules that a window or
// the command line drives: it fills the three boxes and presses OK or
// Cancel, and shows the caption, the old box's state and the focus it gives.
// The password is kept in memory only, as the current catalog's.
class PasswordForm {
  public:
    PasswordForm(CurrentCatalog& current, Prompter& prompter, PasswordMode mode);

    // "Set Password for <file name>" or "Change Password for <file name>".
    std::string Caption() const;
    // The old password box is enabled (white) only when changing; when
    // setting it is empty, grey and disabled.
    bool OldBoxEnabled() const { return m_mode == PasswordMode::Change; }

    std::string oldText, newText, retypeText;

    // cmdOK. The old password (when changing), the new one's length (4 to 16
    // characters) and the retyped one are checked in that order; a refusal is
    // told, empties the boxes and moves the focus. Otherwise the open catalog
    // gets the new password, the user is told, and the window closes: true.
    bool Ok();
    // cmdCancel: the window closes without a change.
    void Cancel() { m_passwordSet = false; }

    // Whether OK set the password (read by the check box that opened the window).
    bool PasswordSet() const { return m_passwordSet; }
    PasswordBox Focus() const { return m_focus; }

  private:
    void Refuse(const std::string& title, const std::string& firstLine, PasswordBox focus);

    CurrentCatalog& m_current;
    Prompter& m_prompter;
    PasswordMode m_mode;
    bool m_passwordSet = false;
    PasswordBox m_focus;
};

// Unchecking "Password Protection": the open catalog's password is removed
// at once, without a question. Engine errors are shown as "Error in check
// password".
void RemovePassword(CurrentCatalog& current, Prompter& prompter);

}  // namespace kest
