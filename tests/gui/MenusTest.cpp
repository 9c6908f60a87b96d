// Menus, pop-up menus, toolbar, shortcuts and view switching of the main window.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "gui/app/ViewSwitch.h"

namespace kest::test {
namespace {

class Menus : public WindowFixture {
  protected:
    void StartWithCatalog() {
        PutSampleCatalog();
        Start();
        Activate();
    }
    void Press(Qt::Key key, QWidget* target = nullptr) {
        QTest::keyClick(target ? target : window.get(), key, Qt::ControlModifier);
    }
};

TEST_F(Menus, EntriesHaveTheirCaptionsShortcutsAndChecks) {
    struct Entry {
        const char* name;
        const char* caption;
        const char* keys;
        bool checkable;
    };
    const Entry entries[] = {
        {"mnuOpDB", "&Open Database...", "Ctrl+O", false},
        {"mnuCrDB", "Create &New Database...", "Ctrl+N", false},
        {"mnuComp", "&Compact and Repair Database... ", "Ctrl+C", false},
        {"mnuClose", "C&lose Database", "Ctrl+W", false},
        {"mnuSaveDBAs", "Save Database &As...", "", false},
        {"mnuDBProp", "Data&base Properties", "", false},
        {"mnuScanFolder", "Scan &Folder...", "", false},
        {"mnuScanImage", "Scan Disc &Image...", "", false},
        {"mnuGetSav0", "&Plain Text File...", "", false},
        {"mnuGetSav1", "CS&V File...", "", false},
        {"mnuExit", "&Exit", "Ctrl+E", false},
        {"mnuDiscs", "&Discs", "Ctrl+D", true},
        {"mnuSearch", "&Search", "Ctrl+S", true},
        {"mnuToolbar", "&Toolbar", "Ctrl+T", true},
        {"mnuViewTrouble", "View Troub&leshooting File...", "Ctrl+L", false},
        {"mnuRefD", "Re&fresh the Discs List", "Ctrl+F", false},
        {"mnuRep", "&Repair External Database...", "", false},
        {"mnuOpts", "&Options...", "Ctrl+I", false},
        {"mnuHowTo", "Help &Content...", "Ctrl+H", false},
        {"mnuUpdate", "Check for &Update...", "", false},
        {"mnuDonate", "&Donate...", "", false},
        {"mnuAbout", "&About Kest...", "", false},
        {"mnuDiscDetails", "Disc Details...", "", false},
        {"mnuContents0", "Disc Contents", "", false},
        {"mnuContents1", "Database Contents", "", false},
        {"mnuDelDisc", "Delete Disc...", "", false},
        {"mnuMDD", "Multiple Disc Delete...", "", false},
        {"mnuSaveDiscs0", "Plain Text File...", "", false},
        {"mnuSaveDiscs1", "CSV File...", "", false},
        {"mnuFileDetails", "File Details...", "", false},
        {"mnuGetFile1", "Open File...", "", false},
        {"mnuGetFile2", "Open Folder...", "", false},
        {"mnuGetFile3", "Explore Folder...", "", false},
        {"mnuMFD", "Multiple File Description Update...", "", false},
        {"mnuSaveRes0", "Plain Text File...", "", false},
        {"mnuSaveRes1", "CSV File...", "", false},
    };
    StartWithCatalog();
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.name);
        QAction* action = Action(e.name);
        if (!action) continue;
        EXPECT_EQ(action->text().toStdString(), e.caption);
        EXPECT_EQ(action->shortcut().toString().toStdString(), e.keys);
        EXPECT_EQ(action->isCheckable(), e.checkable);
    }
    EXPECT_TRUE(Action("mnuDiscs")->isChecked());
    EXPECT_FALSE(Action("mnuSearch")->isChecked());
    EXPECT_TRUE(Action("mnuToolbar")->isChecked());
    const std::pair<const char*, const char*> menus[] = {{"mnuFile", "&File"},
                                                         {"mnuView", "Vie&w"},
                                                         {"mnuGoTo", "&Go To"},
                                                         {"mnuTools", "&Tools"},
                                                         {"mnuHelp", "&Help"},
                                                         {"mnuSave2", "Save Disc List As..."},
                                                         {"mnuSave3", "Save Results List As..."}};
    for (auto [name, title] : menus) EXPECT_EQ(Find<QMenu>(name)->title().toStdString(), title);
    EXPECT_NE(Find<QMenu>("mnuPopUp1"), nullptr);
    EXPECT_NE(Find<QMenu>("mnuPopUp2"), nullptr);
}

TEST_F(Menus, ViewShortcutsSwitchViewsCaptionsAndHints) {
    WriteSettings("[Search_Options]\nInFileName=True\nInDirectory=True\n");
    StartWithCatalog();
    Press(Qt::Key_S);
    EXPECT_EQ(window->Parts().views->Current(), app::View::Search);
    EXPECT_TRUE(Action("mnuSearch")->isChecked());
    EXPECT_FALSE(Action("mnuDiscs")->isChecked());
    EXPECT_EQ(Action("tbrMain1")->text(), "Discs");
    EXPECT_EQ(Action("tbrMain2")->text(), "[Search]");
    EXPECT_EQ(Find<QLabel>("lblSearchDirec")->text(),
              "Use the standard windows search parameters to search for a file name or file "
              "directory.");
    for (const char* name : {"lblSearchDirec", "lblResultCount", "fgdResults", "cboSearch",
                             "cmdQuery", "cmdClear", "cmdAdv"})
        EXPECT_TRUE(Find(name)->isVisible()) << name;
    for (const char* name : {"lblScanDirec", "lblNumDiscs", "fgdDiscs", "icbDrives", "cmdSS"})
        EXPECT_FALSE(Find(name)->isVisible()) << name;
    EXPECT_EQ(QApplication::focusWidget(), Find<QComboBox>("cboSearch"));

    Press(Qt::Key_D);
    EXPECT_EQ(window->Parts().views->Current(), app::View::Discs);
    EXPECT_EQ(Action("tbrMain1")->text(), "[Discs]");
    EXPECT_EQ(Action("tbrMain2")->text(), "Search");
    for (const char* name : {"lblScanDirec", "lblNumDiscs", "fgdDiscs", "icbDrives", "cmdSS"})
        EXPECT_TRUE(Find(name)->isVisible()) << name;
    for (const char* name : {"lblSearchDirec", "fgdResults", "cboSearch", "cmdQuery", "cmdAdv"})
        EXPECT_FALSE(Find(name)->isVisible()) << name;
    EXPECT_EQ(Find<QLabel>("lblScanDirec")->text(),
              "To add a Disc to the database, select your drive and then click on 'Scan & "
              "Save'.");
}

TEST_F(Menus, TheFileMenuNamesTheListOfTheView) {
    StartWithCatalog();
    auto* file = Find<QMenu>("mnuFile");
    auto* save = Find<QMenu>("mnuSave");
    emit file->aboutToShow();
    EXPECT_EQ(save->title(), "&Save Disc List As...");
    window->ToolbarAction(2);
    emit file->aboutToShow();
    EXPECT_EQ(save->title(), "&Save Results List As...");
}

TEST_F(Menus, CtrlCCopiesInBoxesAndGridsAndIsCompactElsewhere) {
    StartWithCatalog();
    QSignalSpy compact(Action("mnuComp"), &QAction::triggered);
    auto* grid = Find<gui::ListGrid>("fgdDiscs");
    grid->setFocus();
    grid->selectRow(0);
    Press(Qt::Key_C, grid);
    EXPECT_EQ(QApplication::clipboard()->text(), "1\t1234-ABCD\tvfat\tPHOTOS\tHoliday 1999\t3\n");

    window->ToolbarAction(2);
    auto* box = Find<QComboBox>("cboSearch")->lineEdit();
    box->setText("*.txt");
    box->selectAll();
    Press(Qt::Key_C, box);
    EXPECT_EQ(QApplication::clipboard()->text(), "*.txt");
    EXPECT_EQ(compact.count(), 0);

    // Without a selection to copy the key is the File menu's, in a text box,
    // a grid or a button alike.
    grid->clearSelection();
    int compacts = 0;
    for (QWidget* control :
         {static_cast<QWidget*>(box), static_cast<QWidget*>(grid), Find<QWidget>("cmdQuery")}) {
        SCOPED_TRACE(control->objectName().toStdString());
        window->ToolbarAction(control == grid ? 1 : 2);
        control->setFocus();
        box->deselect();  // showing the Search view selected its text
        prompter.ExpectNotice("Compact/Repair successful", ::testing::HasSubstr(" compacted & "),
                              Icon::Information);
        Press(Qt::Key_C, control);
        EXPECT_EQ(compact.count(), ++compacts);
        prompter.VerifyDone();
    }
}

TEST_F(Menus, CtrlWDoesNothingWithoutACatalog) {
    prompter.ExpectMessage("Load Database Warning...", ::testing::_, Icon::Exclamation,
                           Buttons::YesNo, 1, Answer::No);
    Start();
    Activate();
    QSignalSpy close(Action("mnuClose"), &QAction::triggered);
    Press(Qt::Key_W);
    EXPECT_EQ(close.count(), 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Menus, CtrlEAndTheExitButtonEndTheProgram) {
    for (bool button : {false, true}) {
        SCOPED_TRACE(button ? "toolbar" : "Ctrl+E");
        StartWithCatalog();
        if (button)
            Action("tbrMain5")->trigger();
        else
            Press(Qt::Key_E);
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->Session().current.HasDatabase());
        window.reset();
    }
}

TEST_F(Menus, ToolbarButtonsHaveTheirTipsAndPictures) {
    StartWithCatalog();
    const char* tips[] = {"The Disc collection (Ctrl+D)", "Search for a file in the Discs (Ctrl+S)",
                          "Program options (Ctrl+I)", "Help (Ctrl+H)", "Exit (Ctrl+E)"};
    for (int i = 0; i < 5; ++i) {
        QAction* button = Action(QStringLiteral("tbrMain%1").arg(i + 1).toLatin1().constData());
        EXPECT_EQ(button->toolTip().toStdString(), tips[i]);
        EXPECT_FALSE(button->icon().isNull());
    }
    DialogDriver dialogs;
    dialogs.On("frmOpts", [](QDialog& dialog) { dialog.reject(); });
    QSignalSpy options(Action("mnuOpts"), &QAction::triggered);
    Action("tbrMain3")->trigger();
    EXPECT_EQ(options.count(), 1);
    EXPECT_EQ(dialogs.Opened("frmOpts"), 1);
}

TEST_F(Menus, ControlsCarryTheirCaptionsTipsAndAccessibleNames) {
    StartWithCatalog();
    struct Control {
        const char* name;
        const char* caption;
        const char* tip;
    };
    const Control buttons[] = {
        {"cmdSS", "Scan && Sa&ve", "Scan & save the files on the disc"},
        {"cmdQuery", "&Query", "Initiate the search"},
        {"cmdClear", "&Clear All", "Clear all fields"},
        {"cmdAdv", ">> &Advanced", "Advanced search options"},
        {"cmdCancel", "Ca&ncel", ""},
    };
    for (const Control& b : buttons) {
        auto* button = Find<QPushButton>(b.name);
        EXPECT_EQ(button->text().toStdString(), b.caption);
        EXPECT_EQ(button->toolTip().toStdString(), b.tip);
    }
    const Control boxes[] = {
        {"txtSzFr", "", "Lower bound of size in MB"}, {"txtSzTo", "", "Upper bound of size in MB"},
        {"txtDtFr", "", "Lower bound of date"},       {"txtDtTo", "", "Upper bound of date"},
        {"txtRiFr", "", "Lower bound of KestID"},     {"txtRiTo", "", "Upper bound of KestID"},
        {"cboSearch", "", "The search parameters"},   {"icbDrives", "", "Drives available"},
    };
    for (const Control& b : boxes) {
        QWidget* box = Find(b.name);
        EXPECT_EQ(box->toolTip().toStdString(), b.tip);
        EXPECT_EQ(box->accessibleName().toStdString(), b.tip);
        // What a screen reader gets through the accessibility interface.
        auto* combo = qobject_cast<QComboBox*>(box);
        QAccessibleInterface* reader =
            QAccessible::queryAccessibleInterface(combo ? combo->lineEdit() : box);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->text(QAccessible::Name).toStdString(), b.tip);
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Find("cmdQuery"))->text(QAccessible::Name),
              "Query");
    for (const char* grid : {"fgdDiscs", "fgdResults"})
        EXPECT_FALSE(Find(grid)->accessibleName().isEmpty());
    EXPECT_EQ(Find<QComboBox>("icbDrives")->currentText(), "Select Drive");
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: ---");
    for (const char* name : {"lblNoProg", "lblSubProg", "lblTotProg", "ProgPic1", "ProgPic2",
                             "ProgPic3", "ProgPic4", "imgStart", "imgEnd", "imgGo", "cmdCancel"})
        EXPECT_FALSE(Find(name)->isVisible()) << name;
    EXPECT_FALSE(Find<QTimer>("tmrAnimate")->isActive());
}

}  // namespace
}  // namespace kest::test
