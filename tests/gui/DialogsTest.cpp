// The password window, the file dialog filters and the File menu's catalog
// commands answered through the scripted prompter.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "WindowFixture.h"
#include "gui/dialogs/QtPrompter.h"
#include "gui/dialogs/frmAsk4Pwd.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

using ::testing::HasSubstr;

TEST(PasswordWindow, OkStaysOffUntilSomethingIsTypedAndGivesTheTextAsTyped) {
    gui::frmAsk4Pwd dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Password Input");
    auto* label = dialog.findChild<QLabel*>("Label1");
    auto* box = dialog.findChild<QLineEdit*>("txtPwd");
    auto* ok = dialog.findChild<QPushButton*>("cmdOK");
    auto* cancel = dialog.findChild<QPushButton*>("cmdCancel");
    ASSERT_TRUE(label && box && ok && cancel);
    EXPECT_EQ(label->text(), "Please input the database password. The password is case sensitive.");
    EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    EXPECT_EQ(ok->text(), "&OK");
    EXPECT_EQ(ok->toolTip(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), "&Cancel");
    EXPECT_EQ(cancel->toolTip(), "Cancel");

    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(box, "   ");
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(box, "Pw");
    EXPECT_TRUE(ok->isEnabled());
    box->clear();
    EXPECT_TRUE(ok->isEnabled());
    QTest::keyClicks(box, " Pw ");
    ok->click();
    EXPECT_EQ(dialog.promptResult(), 1);
    EXPECT_EQ(dialog.password(), " Pw ");
}

TEST(PasswordWindow, CancelAndEscapeGiveNothing) {
    for (bool escape : {false, true}) {
        gui::frmAsk4Pwd dialog(nullptr);
        QTest::keyClicks(dialog.findChild<QLineEdit*>("txtPwd"), "typed");
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.findChild<QPushButton*>("cmdCancel")->click();
        EXPECT_EQ(dialog.promptResult(), 2);
        EXPECT_TRUE(dialog.password().isEmpty());
    }
}

TEST(FileDialogFilters, ClassicFiltersBecomeQtFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"Kest Database (*.kst)|*.kst", "Kest Database (*.kst)"},
        {"Kest Database (*.kst)|*.kst|MS Access 97 Database (*.mdb)|*.mdb|All Files (*.*)|*.*",
         "Kest Database (*.kst);;MS Access 97 Database (*.mdb);;All Files (*)"},
        {"Text (*.txt;*.lst)|*.txt;*.lst", "Text (*.txt *.lst)"},
        {"", ""},
        {"Lonely description", ""},
    };
    for (auto [vb, qt] : cases) EXPECT_EQ(gui::QtFileFilter(vb).toStdString(), qt) << vb;
}

class CatalogCommands : public WindowFixture {};

TEST_F(CatalogCommands, OpenAsksForTheFileAndReplacesTheCatalog) {
    PutSampleCatalog();
    TempDir elsewhere;
    std::string other = MakeCatalogFile(elsewhere, "empty.kst");
    Start();
    prompter.ExpectOpenFile("Open a database...", other);
    Action("mnuOpDB")->trigger();
    EXPECT_EQ(
        prompter.LastFileDialog().filter,
        "Kest Database (*.kst)|*.kst|MS Access 97 Database (*.mdb)|*.mdb|All Files (*.*)|*.*");
    EXPECT_EQ(prompter.LastFileDialog().initialDir, home.Path().string());
    EXPECT_EQ(window->Session().current.path, other);
    EXPECT_EQ(window->windowTitle().toStdString(), "Kest - " + other);
    EXPECT_EQ(window->Discs().table.RowCount(), 0u);
    EXPECT_EQ(Setting("Main", "DatabaseName"), "empty.kst");
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(CatalogCommands, OpeningATextFileKeepsTheCatalogAndSaysWhy) {
    std::string sample = PutSampleCatalog();
    std::string text = home.Write("notes.kst", "just text\n");
    Start();
    prompter.ExpectOpenFile("Open a database...", text);
    prompter.ExpectNotice("Open Database Warning...",
                          HasSubstr("There was an error in opening the database."), Icon::Critical);
    Action("mnuOpDB")->trigger();
    EXPECT_EQ(window->Session().current.path, sample);
    EXPECT_TRUE(Find("cmdSS")->isEnabled());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(CatalogCommands, CancelledDialogsChangeNothing) {
    std::string sample = PutSampleCatalog();
    Start();
    prompter.ExpectOpenFile("Open a database...", std::nullopt);
    Action("mnuOpDB")->trigger();
    prompter.ExpectSaveFile("Create a new database...", std::nullopt);
    Action("mnuCrDB")->trigger();
    EXPECT_EQ(window->Session().current.path, sample);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(CatalogCommands, CreateOverAnExistingFileAsksFirst) {
    PutSampleCatalog();
    std::string existing = home.Write("old.kst", "x");
    Start();
    prompter.ExpectSaveFile("Create a new database...", existing);
    prompter.ExpectMessage("Database Exists", HasSubstr("The database already exists."),
                           Icon::Critical, Buttons::YesNo, 2, Answer::Yes);
    prompter.ExpectNotice("Create New Database", "The new database was created.",
                          Icon::Information);
    Action("mnuCrDB")->trigger();
    EXPECT_EQ(window->Session().current.path, existing);
    EXPECT_EQ(window->Discs().table.RowCount(), 0u);
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: ---");
}

}  // namespace
}  // namespace kest::test
