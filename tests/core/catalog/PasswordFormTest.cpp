// Setting, changing and removing the catalog password.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/catalog/CompactCatalog.h"
#include "core/catalog/PasswordCheckBox.h"
#include "core/catalog/PasswordForm.h"
#include "core/common/KestError.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"

namespace kest {
namespace {

using test::ScriptedPrompter;
using test::TempDir;
using ::testing::HasSubstr;

constexpr const char* kLength =
    "The new password must be between 4 and 16 characters!\r\nPlease try again.";
constexpr const char* kMismatch = "There is a mismatch in the new password!\r\nPlease try again.";

class PasswordTest : public ::testing::Test {
  protected:
    void Open(const std::string& password) {
        test::OpenAsCurrent(current, test::MakeFilledCatalog(dir, "cat.kst", 3, password),
                            password);
    }
    // Whether the file opens with the password now.
    bool OpensWith(const std::string& password) {
        current.database.reset();
        bool opens = true;
        try {
            engine::Database::Open(current.path, password);
        } catch (const KestError& e) {
            opens = e.Number() != err::kInvalidPassword;
        }
        current.database = engine::Database::Open(current.path, current.password);
        return opens;
    }
    void ExpectSuccess() {
        prompter.ExpectNotice("Password success", "The password has been set successfully!",
                              Icon::Information);
    }

    TempDir dir;
    CurrentCatalog current;
    ScriptedPrompter prompter;
};

TEST_F(PasswordTest, NewPasswordsFrom4To16CharactersAreAccepted) {
    struct Case {
        const char* password;
        bool accepted;
    };
    const Case cases[] = {{"abc", false},
                          {"abcd", true},
                          {"sixteen chars ok", true},
                          {"seventeen chars!!", false},
                          {"äöüß", true},
                          {"ääääääääääääääääx", false},
                          {"    ", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        Open("");
        PasswordForm form(current, prompter, PasswordMode::Set);
        EXPECT_EQ(form.Caption(), "Set Password for cat.kst");
        EXPECT_FALSE(form.OldBoxEnabled());
        form.newText = form.retypeText = c.password;
        if (c.accepted) {
            ExpectSuccess();
        } else {
            prompter.ExpectNotice("New password error", kLength, Icon::Critical);
        }
        EXPECT_EQ(form.Ok(), c.accepted);
        prompter.VerifyDone();
        EXPECT_EQ(form.PasswordSet(), c.accepted);
        EXPECT_EQ(current.password, c.accepted ? c.password : "");
        EXPECT_EQ(OpensWith(""), !c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(form.newText + form.retypeText, "");
            EXPECT_EQ(form.Focus(), PasswordBox::New);
        }
        current.database.reset();
        std::filesystem::remove(current.path);
    }
}

TEST_F(PasswordTest, ChangeChecksTheOldPasswordWithCaseThenLengthThenRetyping) {
    Open("Secret1");
    PasswordForm form(current, prompter, PasswordMode::Change);
    EXPECT_EQ(form.Caption(), "Change Password for cat.kst");
    EXPECT_TRUE(form.OldBoxEnabled());
    auto attempt = [&](const char* old, const char* fresh, const char* retype) {
        form.oldText = old;
        form.newText = fresh;
        form.retypeText = retype;
        return form.Ok();
    };
    prompter.ExpectNotice("Old password error",
                          "The old password was entered incorrectly!\r\nPlease try again.",
                          Icon::Critical);
    EXPECT_FALSE(attempt("secret1", "abc", "x"));
    prompter.ExpectNotice("New password error", kLength, Icon::Critical);
    EXPECT_FALSE(attempt("Secret1", "abc", "abc"));
    EXPECT_EQ(form.Focus(), PasswordBox::Old);
    prompter.ExpectNotice("New password error", kMismatch, Icon::Critical);
    EXPECT_FALSE(attempt("Secret1", "Better2", "better2"));
    EXPECT_EQ(form.oldText + form.newText + form.retypeText, "");
    EXPECT_FALSE(form.PasswordSet());
    ExpectSuccess();
    EXPECT_TRUE(attempt("Secret1", "Better2", "Better2"));
    prompter.VerifyDone();
    EXPECT_EQ(current.password, "Better2");
    EXPECT_FALSE(OpensWith("Secret1"));
    EXPECT_TRUE(OpensWith("Better2"));
}

TEST_F(PasswordTest, AnEngineRefusalIsReportedAfterTheSuccessMessageAndChangesNothing) {
    Open("Secret1");
    current.password = "Stale99";
    PasswordForm form(current, prompter, PasswordMode::Change);
    form.oldText = "Stale99";
    form.newText = form.retypeText = "Better2";
    ExpectSuccess();
    prompter.ExpectNotice("Error in setting password", "3031\r\nNot a valid password.",
                          Icon::Critical);
    EXPECT_TRUE(form.Ok());
    EXPECT_EQ(current.password, "Stale99");
    current.password = "Secret1";
    EXPECT_TRUE(OpensWith("Secret1"));
}

TEST_F(PasswordTest, RemovingTakesEffectAtOnceWithoutAQuestion) {
    Open("Secret1");
    RemovePassword(current, prompter);
    EXPECT_EQ(current.password, "");
    // No lock is left, not even one for the empty password.
    EXPECT_FALSE(current.Db().HasPassword());
    EXPECT_TRUE(OpensWith(""));
    current.database.reset();
    prompter.ExpectNotice("Error in check password", HasSubstr("91\r\n"), Icon::Critical);
    RemovePassword(current, prompter);
}

TEST_F(PasswordTest, ACatalogProtectedInThisRunCompactsAndReopensWithoutAPrompt) {
    Open("");
    PasswordForm form(current, prompter, PasswordMode::Set);
    // Blanks count as characters; such a password must survive compaction too.
    form.newText = form.retypeText = "    ";
    ExpectSuccess();
    form.Ok();
    test::RecordingHost host;
    prompter.ExpectNotice("Compact/Repair successful", HasSubstr("compacted"), Icon::Information);
    CompactCommand(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_TRUE(current.HasDatabase());
    EXPECT_FALSE(OpensWith(""));
}

TEST_F(PasswordTest, TheCheckBoxFollowsWhatThePasswordWindowDid) {
    Open("");
    PasswordCheckBox box(current);
    EXPECT_FALSE(box.Checked());
    EXPECT_FALSE(box.ChangeEnabled());
    // Cancelling the window leaves the box unchecked and the catalog open to all.
    box.Click(true, current, prompter, [](PasswordForm& form) { form.Cancel(); });
    EXPECT_FALSE(box.Checked());
    EXPECT_TRUE(OpensWith(""));
    ExpectSuccess();
    box.Click(true, current, prompter, [](PasswordForm& form) {
        EXPECT_EQ(form.Caption(), "Set Password for cat.kst");
        form.newText = form.retypeText = "abcd";
        EXPECT_TRUE(form.Ok());
    });
    EXPECT_TRUE(box.ChangeEnabled());
    EXPECT_TRUE(PasswordCheckBox(current).Checked());
    ExpectSuccess();
    box.ChangeClicked(current, prompter, [](PasswordForm& form) {
        EXPECT_TRUE(form.OldBoxEnabled());
        form.oldText = "abcd";
        form.newText = form.retypeText = "efgh";
        form.Ok();
    });
    EXPECT_FALSE(OpensWith("abcd"));
    box.Click(false, current, prompter, [](PasswordForm&) { ADD_FAILURE() << "no window"; });
    prompter.VerifyDone();
    EXPECT_FALSE(box.ChangeEnabled());
    EXPECT_TRUE(OpensWith(""));
}

}  // namespace
}  // namespace kest
