// The window as a new user meets it: the first run on a machine without an
// optical drive, the looks (drive pictures, progress bar, grid font, size
// units), the troubleshooting file, the tray, and a session that ends.
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <filesystem>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "gui/app/DriveBox.h"
#include "gui/app/StopSignals.h"
#include "gui/app/TrayIcon.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/grids/ListGrid.h"
#include "support/platform/FakeShell.h"

namespace kest::test {
namespace {

using ::testing::EndsWith;

class NewUser : public WindowFixture {
  protected:
    // A machine with one fixed disk and no optical drive.
    std::string AddFixedDisk() {
        return volumes.Add({disk.Path().string(), platform::DriveType::Fixed, "SYSTEM"});
    }
    QString StatusText() { return window->Controls().panels[0]->text(); }

    TempDir disk;
};

TEST_F(NewUser, TheFirstRunOffersTheMountedVolumesWhenThereIsNoOpticalDrive) {
    std::string root = AddFixedDisk();
    std::string catalog = home.File("mine.kst");
    prompter.ExpectMessage("Load Database Warning...", ::testing::_, Icon::Exclamation,
                           Buttons::YesNo, 1, Answer::Yes);
    prompter.ExpectSaveFile("Create a new database...", catalog);
    prompter.ExpectNotice("Create New Database", "The new database was created.",
                          Icon::Information);
    Start();
    Activate();
    auto* drives = Find<QComboBox>("icbDrives");
    ASSERT_EQ(drives->count(), 1);
    EXPECT_EQ(drives->itemText(0).toStdString(), root + " [SYSTEM] (not optical)");
    EXPECT_EQ(drives->itemData(0).toString().toStdString(), root);
    EXPECT_EQ(drives->currentText(), "Select Drive");
    EXPECT_TRUE(StatusText().isEmpty());
    SaveScreenshot("first-run");
    // The scan warns about the drive as about any drive that is not optical.
    drives->setCurrentIndex(0);
    prompter.ExpectMessage("Non-optical drive",
                           root +
                               " Is not an optical drive.\r\n"
                               "Do you want to continue?",
                           Icon::Question, Buttons::YesNo, 2, Answer::No);
    Find<QPushButton>("cmdSS")->click();
}

TEST_F(NewUser, AnEmptyDriveBoxSaysWhyInTheStatusBar) {
    PutSampleCatalog();
    Start();
    EXPECT_EQ(Find<QComboBox>("icbDrives")->count(), 0);
    EXPECT_EQ(StatusText(), "Nothing to scan: no optical drive and no other volume is mounted.");
}

TEST_F(NewUser, FixedDrivesShowADiskNotADisc) {
    auto picture = [](int icon) { return gui::DrivePicture(icon).pixmap(32, 32).toImage(); };
    for (int kind : {1, 2, 3, 5}) EXPECT_NE(picture(kind), picture(4)) << kind;
}

TEST_F(NewUser, AtTheDefaultSizeEveryDiscColumnShowsAndNoHeaderIsCut) {
    PutSampleCatalog();
    WriteSettings("[SubFile_Options]\nSearchSub=True\n");
    Start();
    Activate();
    auto* discs = Find<gui::ListGrid>("fgdDiscs");
    int last = discs->model()->columnCount() - 1;
    EXPECT_EQ(discs->model()->headerData(last, Qt::Horizontal).toString(), "# of Files");
    EXPECT_LE(discs->columnViewportPosition(last) + discs->columnWidth(last),
              discs->viewport()->width());
    Find<QComboBox>("cboSearch")->setEditText(QStringLiteral("*"));
    window->ToolbarAction(2);
    Find<QPushButton>("cmdQuery")->click();
    for (auto* grid : {discs, Find<gui::ListGrid>("fgdResults")}) {
        QFontMetrics header(grid->horizontalHeader()->font());
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            QString caption = grid->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_GT(grid->columnWidth(c), header.horizontalAdvance(caption))
                << caption.toStdString();
        }
    }
    SaveScreenshot("search-view-subfiles");
}

TEST_F(NewUser, TheProgressBarsEmptyPartShowsOnARedBackground) {
    PutSampleCatalog();
    WriteSettings("[Main]\nBack_Color=255\n");
    Start();
    const gui::ScanProgressControls& p = window->Controls().progress;
    p.panel->show();
    QImage bar = p.ProgPic[1]->grab().toImage();
    QColor empty = bar.pixelColor(bar.width() - 4, bar.height() / 2);
    EXPECT_NE(empty, QColor(Qt::red)) << empty.name().toStdString();
}

TEST_F(NewUser, TheSizeBoxesTipsFollowTheSizeUnitChosenInOptions) {
    PutSampleCatalog();
    Start();
    auto* from = Find<QLineEdit>("txtSzFr");
    EXPECT_EQ(from->toolTip(), "Lower bound of size in MB");
    DialogDriver dialogs;
    dialogs.On("frmOpts", [](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>("optKB")->click();
        dialog.findChild<QAbstractButton*>("cmdOK")->click();
    });
    Action("mnuOpts")->trigger();
    EXPECT_EQ(from->toolTip(), "Lower bound of size in KB");
    EXPECT_EQ(from->accessibleName(), "Lower bound of size in KB");
    EXPECT_EQ(Find<QLineEdit>("txtSzTo")->toolTip(), "Upper bound of size in KB");
}

TEST_F(NewUser, AFontTheMachineLacksGivesTheDesktopsFontAndOptionsNamesTheOneUsed) {
    PutSampleCatalog();
    Start();  // the settings name "Microsoft Sans Serif", 8 pt
    QFont grid = Find<gui::ListGrid>("fgdDiscs")->font();
    EXPECT_EQ(grid.family(), QApplication::font().family());
    EXPECT_EQ(grid.pointSizeF(), 8);
    DialogDriver dialogs;
    QString shown;
    dialogs.On("frmOpts", [&](QDialog& dialog) {
        shown = dialog.findChild<QLineEdit*>("txtFont")->text();
        dialog.reject();
    });
    Action("mnuOpts")->trigger();
    EXPECT_EQ(shown, QStringLiteral("%1, 8 pt").arg(QFontInfo(grid).family()));
}

TEST_F(NewUser, ViewTroubleshootingFileOpensTheLogOrSaysWhyNot) {
    PutSampleCatalog();
    Start();
    FakeShell shell;
    gui::UseDesktopShell(&shell);
    Action("mnuViewTrouble")->trigger();
    EXPECT_EQ(shell.requests, std::vector<std::string>{"default " + home.File("Kest.dat")});
    shell.status = platform::ShellStatus::FileNotFound;
    prompter.ExpectNotice("Shell execute failed...",
                          home.File("Kest.dat") + "\r\nError: File not found.  Couldn't Execute!",
                          Icon::Critical);
    Action("mnuViewTrouble")->trigger();
    gui::UseDesktopShell(nullptr);
}

TEST_F(NewUser, RestoringFromTheTrayKeepsAMaximisedWindowMaximised) {
    QWidget hidden;
    hidden.showMaximized();
    hidden.hide();
    gui::ShowFromTray(&hidden, Qt::WindowNoState);
    EXPECT_TRUE(hidden.isVisible());
    EXPECT_TRUE(hidden.windowState() & Qt::WindowMaximized);
    hidden.showNormal();
    hidden.hide();
    gui::ShowFromTray(&hidden, Qt::WindowMaximized);
    EXPECT_TRUE(hidden.windowState() & Qt::WindowMaximized);
}

TEST_F(NewUser, TheSessionEndingClosesAsExitDoes) {
    std::string catalog = PutSampleCatalog();
    Start();
    window->ToolbarAction(2);
    Find<QComboBox>("cboSearch")->setEditText(QStringLiteral("kept at logout"));
    gui::StopSignals logout(nullptr);
    QObject::connect(&logout, &gui::StopSignals::Received, window.get(),
                     &gui::MainWindow::Terminate);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
    EXPECT_FALSE(window->Session().current.HasDatabase());
    EXPECT_EQ(Setting("Search_Items", "Current"), "kept at logout");
    EXPECT_EQ(Setting("Main", "DatabaseName"), "kest001.kst");
    EXPECT_FALSE(std::filesystem::exists(catalog + "-wal"));
}

}  // namespace
}  // namespace kest::test
