// The file function dialog opened from the results' pop-up menu over the
// fixture's fake drives and a fake desktop shell: the drive choice, the default
// drive, the target in OK's tool tip and the checks before anything opens.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/grids/ListGrid.h"
#include "support/platform/FakeShell.h"

namespace kest::test {
namespace {

using ::testing::_;
using ::testing::ElementsAre;

class FileFuncDialog : public WindowFixture {
  protected:
    void SetUp() override {
        gui::UseDesktopShell(&shell);
        PutSampleCatalog();
        Start();
        Activate();
        // The disc of Beach.JPG (pics/) is in "right"; "empty" holds another disc.
        std::filesystem::create_directories(home.File("right/pics"));
        std::filesystem::create_directories(home.File("empty"));
        emptyRoot = volumes.Add({home.File("empty"), platform::DriveType::Removable, "OTHER"});
        rightRoot = volumes.Add(
            {home.File("right"), platform::DriveType::Removable, "PHOTOS", "1234-ABCD"});
    }
    void TearDown() override { gui::UseDesktopShell(nullptr); }

    // Searches for everything and selects the row of Beach.JPG.
    void SelectBeach() {
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        auto* search = Find<QComboBox>("cboSearch");
        search->setEditText(QStringLiteral("*"));
        QTest::keyClick(search->lineEdit(), Qt::Key_Return);
        auto* grid = Find<gui::ListGrid>("fgdResults");
        QAbstractItemModel* model = grid->model();
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                if (model->index(row, column).data().toString() == "Beach.JPG") {
                    grid->setCurrentIndex(model->index(row, 0));
                    grid->selectRow(row);
                    return;
                }
        ADD_FAILURE() << "Beach.JPG is not in the results";
    }

    static QComboBox* Drives(QDialog& dialog) { return dialog.findChild<QComboBox*>("drvFile"); }
    static QPushButton* Button(QDialog& dialog, const char* name) {
        return dialog.findChild<QPushButton*>(name);
    }
    static void Choose(QDialog& dialog, const std::string& root) {
        QComboBox* drives = Drives(dialog);
        for (int i = 0; i < drives->count(); ++i)
            if (drives->itemText(i).startsWith(QString::fromStdString(root)))
                drives->setCurrentIndex(i);
    }

    FakeShell shell;
    DialogDriver dialogs;
    std::string emptyRoot, rightRoot;
};

TEST_F(FileFuncDialog, TheDefaultDriveIsPreselectedAndAMissingFolderKeepsTheDialogOpen) {
    window->Session().settings.UseDefaultDrive = true;
    window->Session().settings.DefaultDrive = rightRoot;
    SelectBeach();
    prompter.ExpectNotice("Error in directory", "Directory not found!", Icon::Critical);
    dialogs.On("frmFileFunc", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Open File");
        EXPECT_TRUE(dialog.isModal());
        EXPECT_EQ(Drives(dialog)->toolTip(), "Select the drive here");
        EXPECT_EQ(Drives(dialog)->currentText().toStdString(), rightRoot + " [PHOTOS]");
        EXPECT_EQ(Button(dialog, "cmdSetDefDr")->text().toStdString(), rightRoot);
        EXPECT_EQ(Button(dialog, "cmdSetDefDr")->toolTip(), "This shows the current default drive");
        EXPECT_TRUE(Button(dialog, "cmdSetDefDr")->isVisible());
        EXPECT_EQ(dialog.findChild<QLabel*>("lblDDmsg")->text(), "Set selected drive as default");
        EXPECT_EQ(Button(dialog, "cmdCancel")->text(), "&Cancel");
        EXPECT_EQ(Button(dialog, "cmdOK")->toolTip().toStdString(), rightRoot + "pics/Beach.JPG");
        SaveDialogPicture(dialog, "frmFileFunc");
        ExpectKeyboardComplete(dialog);

        Choose(dialog, emptyRoot);
        EXPECT_EQ(Button(dialog, "cmdOK")->toolTip().toStdString(), emptyRoot + "pics/Beach.JPG");
        Button(dialog, "cmdOK")->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.isEnabled());
        Choose(dialog, rightRoot);
        QTest::keyClick(Drives(dialog), Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    Action("mnuGetFile1")->trigger();
    EXPECT_EQ(dialogs.Opened("frmFileFunc"), 1);
    EXPECT_THAT(shell.requests, ElementsAre("default " + rightRoot + "pics/Beach.JPG"));
}

TEST_F(FileFuncDialog, SerialAndVolumeNameQuestionsDecideWhetherTheFolderOpens) {
    volumes.At(rightRoot).serial = "9999-9999";
    volumes.At(rightRoot).label = "RENAMED";
    SelectBeach();
    prompter
        .ExpectMessage("Serial number mismatch", _, Icon::Exclamation, Buttons::YesNo, 1,
                       Answer::No)
        .ExpectMessage("Serial number mismatch", _, Icon::Exclamation, Buttons::YesNo, 1,
                       Answer::Yes)
        .ExpectMessage("Volume name mismatch", _, Icon::Exclamation, Buttons::YesNo, 1,
                       Answer::Yes);
    dialogs.On("frmFileFunc", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Explore Folder");
        EXPECT_FALSE(Button(dialog, "cmdSetDefDr")->isVisible());
        EXPECT_FALSE(dialog.findChild<QLabel*>("lblDDmsg")->isVisible());
        Choose(dialog, rightRoot);
        EXPECT_EQ(Button(dialog, "cmdOK")->toolTip().toStdString(), rightRoot + "pics/");
        Button(dialog, "cmdOK")->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(shell.requests.empty());
        Button(dialog, "cmdOK")->click();
        EXPECT_FALSE(dialog.isVisible());
    });
    Action("mnuGetFile3")->trigger();
    EXPECT_THAT(shell.requests, ElementsAre("explore " + rightRoot + "pics/ [Beach.JPG]"));
}

TEST_F(FileFuncDialog, AnUnmountedDriveAndCancelOpenNothing) {
    SelectBeach();
    prompter.ExpectNotice("Error in directory", "Directory not found!", Icon::Critical);
    dialogs.On("frmFileFunc", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Open Folder");
        Choose(dialog, rightRoot);
        std::filesystem::remove_all(home.File("right"));
        Button(dialog, "cmdOK")->click();
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    Action("mnuGetFile2")->trigger();
    EXPECT_TRUE(shell.requests.empty());
}

TEST_F(FileFuncDialog, TheDefaultDriveButtonKeepsTheSelectedDriveInTheSettings) {
    window->Session().settings.UseDefaultDrive = true;
    SelectBeach();
    dialogs.On("frmFileFunc", [&](QDialog& dialog) {
        EXPECT_EQ(Button(dialog, "cmdSetDefDr")->text(), "");
        Choose(dialog, emptyRoot);
        Button(dialog, "cmdSetDefDr")->click();
        EXPECT_EQ(Button(dialog, "cmdSetDefDr")->text().toStdString(), emptyRoot);
        Button(dialog, "cmdCancel")->click();
    });
    Action("mnuGetFile1")->trigger();
    EXPECT_EQ(window->Session().settings.DefaultDrive, emptyRoot);
}

}  // namespace
}  // namespace kest::test
