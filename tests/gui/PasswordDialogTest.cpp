// The password window and the Security tab that opens it, over a real
// catalog: both modes, the three refusals with the focus they leave, and the
// protection reaching the catalog file.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "DialogDriver.h"
#include "core/common/KestError.h"
#include "gui/options/SecurityTab.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

using ::testing::_;

const char* const kLengthError = "The new password must be between 4 and 16 characters!";
const char* const kMismatch = "There is a mismatch in the new password!";
const char* const kOldError = "The old password was entered incorrectly!";

QLineEdit* Box(QDialog& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(name);
}

// Types the three boxes (the old one only when it takes input) and presses OK.
void Enter(QDialog& dialog, const QString& old, const QString& fresh, const QString& retyped) {
    if (Box(dialog, "txtOldPswd")->isEnabled()) Box(dialog, "txtOldPswd")->setText(old);
    Box(dialog, "txtNewPswd")->setText(fresh);
    Box(dialog, "txtNewPswdRe")->setText(retyped);
    dialog.findChild<QPushButton*>("cmdOK")->click();
}

void ExpectRefusal(ScriptedPrompter& prompter, const std::string& title, const std::string& line) {
    prompter.ExpectNotice(title, line + "\r\nPlease try again.", Icon::Critical);
}

void ExpectBoxesEmpty(QDialog& dialog) {
    for (const char* name : {"txtOldPswd", "txtNewPswd", "txtNewPswdRe"})
        EXPECT_TRUE(Box(dialog, name)->text().isEmpty()) << name;
}

class PasswordDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        current.path = MakeCatalogFile(home);
        current.name = "kest001.kst";
        current.database = engine::Database::Open(current.path, "");
    }

    // The tab shows the protection (the box checked and the change button on
    // exactly with a password), the catalog keeps the password, and the file
    // opens with it (and only with it).
    void ExpectProtection(const std::string& password) {
        EXPECT_EQ(Check()->isChecked(), !password.empty());
        EXPECT_EQ(Change()->isEnabled(), !password.empty());
        EXPECT_EQ(current.password, password);
        current.database.reset();
        EXPECT_NO_THROW(engine::Database::Open(current.path, password));
        if (!password.empty()) {
            EXPECT_THROW(engine::Database::Open(current.path, ""), KestError);
        }
    }

    QCheckBox* Check() { return tab->findChild<QCheckBox*>("chkPass"); }
    QPushButton* Change() { return tab->findChild<QPushButton*>("cmdChangePass"); }

    // The tab over the catalog, protected first when a password is given.
    void MakeTab(const std::string& password = {}) {
        if (!password.empty()) {
            current.database->SetPassword("", password);
            current.password = password;
        }
        tab = std::make_unique<gui::SecurityTab>(nullptr, nullptr, current, prompter);
    }

    TempDir home;
    CurrentCatalog current;
    ScriptedPrompter prompter;
    DialogDriver dialogs;
    std::unique_ptr<gui::SecurityTab> tab;
};

TEST_F(PasswordDialogs, SettingRefusesBadLengthsAndMismatchesThenProtectsTheCatalog) {
    MakeTab();
    EXPECT_EQ(tab->findChild<QGroupBox*>("fraSecurity")->title(), "kest001.kst Security");
    EXPECT_FALSE(Check()->isChecked());
    EXPECT_FALSE(Change()->isEnabled());
    EXPECT_EQ(Check()->text(), "&Password Protection");
    EXPECT_EQ(Check()->toolTip(), "Check this if you want database password protection");
    EXPECT_EQ(Change()->toolTip(), "Click here to change the database password");

    ExpectRefusal(prompter, "New password error", kLengthError);
    ExpectRefusal(prompter, "New password error", kLengthError);
    ExpectRefusal(prompter, "New password error", kMismatch);
    prompter.ExpectNotice("Password success", "The password has been set successfully!",
                          Icon::Information);
    dialogs.On("frmPassword", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Set Password for kest001.kst");
        QLineEdit* old = Box(dialog, "txtOldPswd");
        EXPECT_FALSE(old->isEnabled());
        EXPECT_TRUE(old->text().isEmpty());
        EXPECT_EQ(old->palette().color(QPalette::Disabled, QPalette::Base), QColor(192, 192, 192));
        for (const char* name : {"txtOldPswd", "txtNewPswd", "txtNewPswdRe"})
            EXPECT_EQ(Box(dialog, name)->echoMode(), QLineEdit::Password) << name;
        EXPECT_EQ(Box(dialog, "txtNewPswdRe")->toolTip(),
                  "To avoid mistakes input your new password again");
        SaveDialogPicture(dialog, "frmPassword-set");
        ExpectKeyboardComplete(dialog);

        struct Try {
            QString fresh, retyped;
        };
        for (const Try& t : {Try{"abc", "abc"}, Try{"abcdefghijklmnopq", "abcdefghijklmnopq"},
                             Try{"abcd", "abce"}}) {
            Enter(dialog, {}, t.fresh, t.retyped);
            EXPECT_TRUE(dialog.isVisible()) << t.fresh.toStdString();
            ExpectBoxesEmpty(dialog);
            EXPECT_EQ(dialog.focusWidget(), Box(dialog, "txtNewPswd"));
        }
        // Four letters, none of them ASCII.
        Enter(dialog, {}, QStringLiteral("äöüß"), QStringLiteral("äöüß"));
        EXPECT_FALSE(dialog.isVisible());
    });
    Check()->click();
    ExpectProtection("äöüß");
}

TEST_F(PasswordDialogs, CancellingTheSetWindowLeavesTheBoxUnchecked) {
    MakeTab();
    dialogs.On("frmPassword", [&](QDialog& dialog) {
        Box(dialog, "txtNewPswd")->setText("secret");
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    Check()->click();
    ExpectProtection("");
}

TEST_F(PasswordDialogs, ChangingChecksTheOldPasswordCaseSensitively) {
    MakeTab("Secret");
    // Loading checks the box without it counting as a click: no window opens.
    EXPECT_TRUE(Check()->isChecked());
    EXPECT_TRUE(Change()->isEnabled());
    EXPECT_EQ(dialogs.Opened("frmPassword"), 0);

    ExpectRefusal(prompter, "Old password error", kOldError);
    ExpectRefusal(prompter, "New password error", kLengthError);
    prompter.ExpectNotice("Password success", _, Icon::Information);
    dialogs.On("frmPassword", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Change Password for kest001.kst");
        EXPECT_TRUE(Box(dialog, "txtOldPswd")->isEnabled());
        SaveDialogPicture(dialog, "frmPassword-change");
        ExpectKeyboardComplete(dialog);
        Enter(dialog, "secret", "sixteen-chars-ok", "sixteen-chars-ok");
        ExpectBoxesEmpty(dialog);
        EXPECT_EQ(dialog.focusWidget(), Box(dialog, "txtOldPswd"));
        Enter(dialog, "Secret", "seventeen-chars-x", "seventeen-chars-x");
        EXPECT_EQ(dialog.focusWidget(), Box(dialog, "txtOldPswd"));
        Enter(dialog, "Secret", "sixteen-chars-ok", "sixteen-chars-ok");
        EXPECT_FALSE(dialog.isVisible());
    });
    Change()->click();
    ExpectProtection("sixteen-chars-ok");
}

TEST_F(PasswordDialogs, UncheckingRemovesTheProtectionAtOnce) {
    MakeTab("Secret");
    Check()->click();
    EXPECT_EQ(dialogs.Opened("frmPassword"), 0);
    ExpectProtection("");
}

TEST_F(PasswordDialogs, TheTabIsDisabledWithoutACatalog) {
    current.database.reset();
    MakeTab();
    EXPECT_FALSE(tab->isEnabled());
    EXPECT_EQ(tab->findChild<QGroupBox*>("fraSecurity")->title(), "db Security");
    tab->resize(320, 140);
    SaveDialogPicture(*tab, "options-security-closed");
}

}  // namespace
}  // namespace kest::test
