// The disc facts in the window: recognition of a mounted disc (the mount
// simulated through the mount watch's signal, the notification caught by a
// fake notifier), the Disc Details' facts group, the duplicates and lent
// discs windows, the filter box and the optional disc list columns.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "core/discfacts/DiscFactsChange.h"
#include "gui/app/MountWatch.h"
#include "gui/discfacts/DesktopNotifier.h"
#include "gui/explore/frmExplore.h"
#include "gui/grids/ListGrid.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

using ::testing::_;
using ::testing::HasSubstr;

struct Notice {
    QString title, text, action;
    std::function<void()> run;
};

class RecordingNotifier : public gui::DesktopNotifier {
  public:
    void Notify(const QString& title, const QString& text, const QString& actionLabel,
                std::function<void()> action) override {
        notices.push_back({title, text, actionLabel, std::move(action)});
    }
    std::vector<Notice> notices;
};

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class DiscFactsWindow : public WindowFixture {
  protected:
    void SetUp() override {
        gui::UseDesktopNotifier(&notifier);
        PutSampleCatalog();
    }
    void TearDown() override { gui::UseDesktopNotifier(nullptr); }
    void StartWindow(const std::string& settings = {}) {
        WriteSettings(
            "[Drives]\nOnly_Optical=False\nShow_Non-Optical_Warning=False\n"
            "[Sounds]\nPlay=False\n[Scan_Options]\nEst_B4_Scan=False\n"
            "[Save_List]\nOpenAfterSaving=False\n" +
            settings);
        Start();
        Activate();
    }
    void Mount(const std::string& folder, const std::string& label, const std::string& serial) {
        volumes.Add({folder, platform::DriveType::Removable, label, serial, "vfat"});
        emit Find<gui::MountWatch>("mountWatch")->Changed();
    }
    std::string Stored(const std::string& sql) {
        return QueryText(window->Session().current.Db(), sql);
    }
    gui::ListGrid* Discs() { return Find<gui::ListGrid>("fgdDiscs"); }

    RecordingNotifier notifier;
    DialogDriver dialogs;
    TempDir known, unknown;
};

TEST_F(DiscFactsWindow, AMountedDiscIsRecognisedOrOfferedForScanning) {
    StartWindow();
    Mount(known.Path().string(), "PHOTOS", "1234-ABCD");
    ASSERT_EQ(notifier.notices.size(), 1u);
    const QString message = "PHOTOS (1234-ABCD) is disc 1 of the catalog: Holiday 1999, 3 files.";
    EXPECT_EQ(notifier.notices[0].text, message);
    EXPECT_EQ(notifier.notices[0].action, "Show");
    EXPECT_EQ(window->Controls().panels[0]->text(), message);
    Discs()->clearSelection();
    notifier.notices[0].run();
    EXPECT_EQ(Discs()->currentIndex().row(), 0);
    EXPECT_TRUE(Discs()->selectionModel()->isRowSelected(0));

    // The same mount seen again says nothing new.
    emit Find<gui::MountWatch>("mountWatch")->Changed();
    EXPECT_EQ(notifier.notices.size(), 1u);

    Mount(unknown.Path().string(), "NEW", "7777-7777");
    ASSERT_EQ(notifier.notices.size(), 2u);
    EXPECT_EQ(notifier.notices[1].text, "NEW (7777-7777) is not in the catalog.");
    EXPECT_EQ(notifier.notices[1].action, "Scan & Save");
    notifier.notices[1].run();
    EXPECT_EQ(Find<QComboBox>("icbDrives")->currentData().toString().toStdString(),
              unknown.Path().string() + "/");
    EXPECT_EQ(Stored("SELECT COUNT(*) FROM tblDiscs"), "2\n");  // nothing scanned by itself
}

TEST_F(DiscFactsWindow, WithTheOptionAnUnknownDiscIsScannedAtOnce) {
    StartWindow("[Main]\nScanUnknownDiscs=True\n");
    unknown.Write("song.mp3", "la");
    prompter.ExpectInput("Disc Description", _, std::string("from the mount"));
    Mount(unknown.Path().string(), "NEW", "7777-7777");
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompter.Pending() == 0; }, 3000));
    QTest::qWait(50);
    EXPECT_EQ(Stored("SELECT DiscSer, DiscDesc, DiscNumF FROM tblDiscs WHERE KestId = 3"),
              "7777-7777|from the mount|1\n");
}

TEST_F(DiscFactsWindow, TheDiscDetailsGroupShowsAndStoresTheFacts) {
    StartWindow();
    Discs()->setFocus();
    Discs()->selectRow(0);
    prompter.ExpectNotice("Error in updating disc facts",
                          HasSubstr("The due date 01/01/2026 comes before the lent-on date"),
                          Icon::Critical);
    dialogs.On("frmDiscDetails", [&](QDialog& dialog) {
        auto* group = Child<QGroupBox>(dialog, "grpDiscFacts");
        EXPECT_EQ(group->title(), "Kept by Kest");
        EXPECT_TRUE(Child<QLineEdit>(dialog, "txtCatalogued")->isReadOnly());
        Child<QLineEdit>(dialog, "txtLocation")->setText("Shelf B, box 3");
        Child<QLineEdit>(dialog, "txtTags")->setText("\"Rock, Pop\", Été");
        Child<QLineEdit>(dialog, "txtLentTo")->setText("Ann");
        Child<QLineEdit>(dialog, "txtLentOn")->setText("2026-02-01");
        Child<QLineEdit>(dialog, "txtDueBack")->setText("2026-01-01");
        Child<QPushButton>(dialog, "cmdSaveFacts")->click();
        EXPECT_EQ(Stored("SELECT COUNT(*) FROM sqlite_master WHERE name = '_kest_disc_facts'"),
                  "0\n");  // a refused change makes nothing
        Child<QLineEdit>(dialog, "txtDueBack")->setText("2026-03-01");
        Child<QPlainTextEdit>(dialog, "txtNotes")->setPlainText("scratched");
        Child<QPushButton>(dialog, "cmdSaveFacts")->click();
        EXPECT_EQ(Child<QLineEdit>(dialog, "txtTags")->text(), "\"Rock, Pop\", Été");
        SaveDialogPicture(dialog, "frmDiscDetailsFacts");
        ExpectKeyboardComplete(dialog);
        dialog.accept();
    });
    Action("mnuDiscDetails")->trigger();
    prompter.VerifyDone();
    EXPECT_EQ(Stored("SELECT location, lent_to, lent_on, due_back, notes FROM _kest_disc_facts"),
              "Shelf B, box 3|Ann|2026-02-01 00:00:00|2026-03-01 00:00:00|scratched\n");
    EXPECT_EQ(Stored("SELECT tag FROM _kest_disc_tags ORDER BY rowid"), "Rock, Pop\nÉté\n");

    // The lent discs list marks it overdue (its due day has passed).
    dialogs.On("frmLentDiscs", [&](QDialog& dialog) {
        QAbstractItemModel* lent = Child<gui::ListGrid>(dialog, "fgdLent")->model();
        ASSERT_EQ(lent->rowCount(), 1);
        EXPECT_EQ(lent->index(0, 2).data().toString(), "Ann");
        EXPECT_EQ(lent->index(0, 5).data().toString(), "OVERDUE");
        EXPECT_EQ(Child<QLabel>(dialog, "lblLent")->text(), "1 discs lent, 1 overdue");
        SaveDialogPicture(dialog, "frmLentDiscs");
        dialog.accept();
    });
    Action("mnuLentDiscs")->trigger();
    EXPECT_EQ(dialogs.Opened("frmLentDiscs"), 1);

    // The filter box keeps the discs whose facts hold its text.
    auto* filter = Find<QLineEdit>("txtDiscFilter");
    EXPECT_TRUE(filter->isVisible());
    EXPECT_EQ(Discs()->model()->rowCount(), 2);
    filter->setText("rock, pop");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Discs()->model()->rowCount() == 1; }, 2000));
    filter->clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Discs()->model()->rowCount() == 2; }, 2000));
    window->ToolbarAction(2);  // the Search view
    EXPECT_FALSE(filter->isVisible());
}

TEST_F(DiscFactsWindow, TheDuplicatesWindowFindsCopiesAndFilesOnOneDisc) {
    StartWindow("[Discs_Options]\nFactColumns=1\n");
    // The disc list shows the chosen optional column after its own.
    QAbstractItemModel* list = Discs()->model();
    EXPECT_EQ(list->headerData(list->columnCount() - 1, Qt::Horizontal).toString().trimmed(),
              "Location");
    window->Session().current.Db().Execute(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (2, 'old/', "
        "'README.TXT', 1536)");
    prompter.ExpectNotice("Error in finding copies",
                          "3265\r\nNo disc with Kest ID 9 in the catalog.", Icon::Critical);
    dialogs.On("frmFileDetails", [](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txtName")->text(), "README.TXT");
        dialog.reject();
    });
    dialogs.On("frmDuplicates", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Find Duplicates");
        Child<QPushButton>(dialog, "cmdFind")->click();
        QAbstractItemModel* rows = Child<gui::ListGrid>(dialog, "fgdCopies")->model();
        ASSERT_EQ(rows->rowCount(), 2);
        EXPECT_EQ(rows->index(0, 1).data().toString(), "readme.txt");
        EXPECT_EQ(rows->index(1, 1).data().toString(), "README.TXT");
        EXPECT_EQ(Child<QLabel>(dialog, "lblCopies")->text(),
                  "1 groups of copies, 1536 bytes in extra copies");
        SaveDialogPicture(dialog, "frmDuplicates");

        // A listed copy shows its details on Enter and its folder in the
        // Explore window from the pop-up menu.
        auto* grid = Child<gui::ListGrid>(dialog, "fgdCopies");
        grid->setFocus();
        grid->setCurrentIndex(rows->index(1, 0));
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(dialogs.Opened("frmFileDetails"), 1);
        dialog.findChild<QAction*>("mnuCopyInTree")->trigger();
        auto explorers = dialog.findChildren<gui::frmExplore*>();
        ASSERT_EQ(explorers.size(), 1);
        EXPECT_EQ(explorers[0]->Path(), explore::FolderPath{"old"});
        explorers[0]->close();

        Child<QComboBox>(dialog, "cboList")->setCurrentIndex(1);
        Child<QLineEdit>(dialog, "txtDiscs")->setText("1-2");
        Child<QPushButton>(dialog, "cmdFind")->click();
        EXPECT_EQ(rows->rowCount(), 2);  // Beach.JPG and photos.zip
        Child<QLineEdit>(dialog, "txtDiscs")->setText("9");
        Child<QPushButton>(dialog, "cmdFind")->click();
        EXPECT_EQ(rows->rowCount(), 2);  // the list stays as it was
        ExpectKeyboardComplete(dialog);
        Child<QPushButton>(dialog, "cmdClose")->click();
    });
    Action("mnuDuplicates")->trigger();
    EXPECT_EQ(dialogs.Opened("frmDuplicates"), 1);
    prompter.VerifyDone();
}

}  // namespace
}  // namespace kest::test
