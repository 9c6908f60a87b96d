#include "core/catalog/PasswordForm.h"

#include "core/common/Errors.h"
#include "core/common/PendingError.h"

namespace kest {
namespace {

constexpr size_t kShortest = 4, kLongest = 16;

// Characters, not bytes: a UTF-8 letter such as "ä" counts once.
size_t CharacterCount(const std::string& text) {
    size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

PasswordForm::PasswordForm(CurrentCatalog& current, Prompter& prompter, PasswordMode mode)
    : m_current(current),
      m_prompter(prompter),
      m_mode(mode),
      m_focus(mode == PasswordMode::Change ? PasswordBox::Old : PasswordBox::New) {}

std::string PasswordForm::Caption() const {
    return (m_mode == PasswordMode::Change ? "Change Password for " : "Set Password for ") +
           m_current.name;
}

void PasswordForm::Refuse(const std::string& title, const std::string& firstLine,
                          PasswordBox focus) {
    m_prompter.Show(title, firstLine + "\r\nPlease try again.", Icon::Critical);
    oldText.clear();
    newText.clear();
    retypeText.clear();
    m_focus = focus;
}

bool PasswordForm::Ok() {
    const bool changing = m_mode == PasswordMode::Change;
    const PasswordBox retry = changing ? PasswordBox::Old : PasswordBox::New;
    if (changing && oldText != m_current.password) {
        Refuse("Old password error", "The old password was entered incorrectly!", PasswordBox::Old);
        return false;
    }
    size_t length = CharacterCount(newText);
    if (length < kShortest || length > kLongest) {
        Refuse("New password error", "The new password must be between 4 and 16 characters!",
               retry);
        return false;
    }
    if (newText != retypeText) {
        Refuse("New password error", "There is a mismatch in the new password!", retry);
        return false;
    }
    PendingError pending;
    pending.Step([&] {
        if (!m_current.HasDatabase()) throw err::ObjectNotSet();
        m_current.Db().SetPassword(changing ? m_current.password : "", newText);
        // The catalog keeps the password it was last protected with.
        m_current.password = newText;
    });
    m_passwordSet = true;
    m_prompter.Show("Password success", "The password has been set successfully!",
                    Icon::Information);
    if (pending.Pending()) {
        m_prompter.ShowError("Error in setting password", pending.Error().Number(),
                             pending.Error().Description());
    }
    return true;
}

void RemovePassword(CurrentCatalog& current, Prompter& prompter) {
    PendingError pending;
    pending.Step([&] {
        if (!current.HasDatabase()) throw err::ObjectNotSet();
        current.Db().SetPassword(current.password, "");
        current.password.clear();
    });
    if (pending.Pending()) {
        prompter.ShowError("Error in check password", pending.Error().Number(),
                           pending.Error().Description());
    }
}

}  // namespace kest
