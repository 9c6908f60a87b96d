// Every menu entry, toolbar button and pop-up entry of the main window does
// something the user can see (a window, a prompt, a setting, a view change),
// and every window shortcut works with the focus in every kind of control.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <set>

#include "DialogDriver.h"
#include "LoopbackServer.h"
#include "WindowFixture.h"
#include "gui/app/DiscsView.h"
#include "gui/app/ResultsMenu.h"
#include "gui/app/TrayIcon.h"
#include "gui/app/ViewSwitch.h"
#include "gui/dialogs/DesktopShell.h"
#include "gui/explore/frmExplore.h"
#include "gui/update/HelpMenu.h"
#include "gui/update/QtHttpClient.h"
#include "support/platform/FakeShell.h"

namespace kest::test {
namespace {

using ::testing::_;
using ::testing::HasSubstr;

// The rows below reach into the fixture: what it holds is public here.
class Effects : public WindowFixture {
  public:
    using WindowFixture::CloseWindow;
    using WindowFixture::Find;
    using WindowFixture::home;
    using WindowFixture::prompter;
    using WindowFixture::Setting;
    using WindowFixture::window;

    void SetUp() override { gui::UseDesktopShell(&shell); }
    void TearDown() override { gui::UseDesktopShell(nullptr); }

    // A window over a fresh sample catalog, with the disc list and the
    // results of a search for every file.
    void StartWithResults() {
        PutSampleCatalog();
        WriteSettings("[Search_Options]\nAdvanced=True\n");
        Start();
        Activate();
        window->Parts().help->Use(http, shell);
        window->ToolbarAction(2);
        auto* box = Find<QComboBox>("cboSearch");
        box->setEditText(QStringLiteral("*"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        ASSERT_GT(Grid("fgdResults")->model()->rowCount(), 1);
    }
    gui::ListGrid* Grid(const char* name) { return Find<gui::ListGrid>(name); }
    void RightClickDisc(int row) {
        window->ToolbarAction(1);
        gui::ListGrid* grid = Grid("fgdDiscs");
        window->Parts().discs->ShowMenu(QPoint(5, grid->rowViewportPosition(row) + 2));
        window->Menus().mnuPopUp1->hide();
    }
    void RightClickResult(int row) {
        window->ToolbarAction(2);
        gui::ListGrid* grid = Grid("fgdResults");
        window->Parts().results->ShowMenu(QPoint(5, grid->rowViewportPosition(row) + 2));
        window->Menus().mnuPopUp2->hide();
    }
    app::View View() const { return window->Parts().views->Current(); }

    FakeShell shell;
    gui::QtHttpClient http{kHttpTimeLimit};
    DialogDriver dialogs;
    int openedBefore = 0;  // of the dialog a row expects
};

// One entry: what is set up before it is triggered and what shows after.
struct Row {
    const char* entry;
    std::function<void(Effects&)> arrange;
    std::function<void(Effects&)> check;
};

// An entry that opens a dialog of this name, closed at once.
Row OpensDialog(const char* entry, const char* dialog,
                std::function<void(Effects&)> before = nullptr) {
    return {entry,
            [dialog, before](Effects& t) {
                if (before) before(t);
                t.openedBefore = t.dialogs.Opened(dialog);
                t.dialogs.On(dialog, [](QDialog& shown) { shown.reject(); });
            },
            [dialog](Effects& t) {
                EXPECT_EQ(t.dialogs.Opened(dialog), t.openedBefore + 1) << dialog;
            }};
}

// An entry that opened the Explore window (closed here).
void ClosesExplore(Effects& t) {
    int shown = 0;
    for (auto* explore : t.window->findChildren<gui::frmExplore*>()) {
        if (!explore->isVisible()) continue;
        ++shown;
        explore->close();
    }
    EXPECT_EQ(shown, 1);
}

// An entry that asks for a file (the answer cancels it).
Row AsksForFile(const char* entry, bool save, const char* title = nullptr,
                std::function<void(Effects&)> before = nullptr) {
    return {entry,
            [save, title, before](Effects& t) {
                if (before) before(t);
                TextMatcher matches = title ? TextMatcher(title) : TextMatcher(_);
                if (save)
                    t.prompter.ExpectSaveFile(matches, std::nullopt);
                else
                    t.prompter.ExpectOpenFile(matches, std::nullopt);
            },
            [](Effects& t) { EXPECT_EQ(t.prompter.Pending(), 0u); }};
}

Row ShowsView(const char* entry, app::View from, app::View to) {
    return {entry,
            [from](Effects& t) { t.window->ToolbarAction(from == app::View::Discs ? 1 : 2); },
            [to](Effects& t) { EXPECT_EQ(t.View(), to); }};
}

Row EndsTheProgram(const char* entry) {
    return {entry, nullptr, [](Effects& t) {
                EXPECT_FALSE(t.window->isVisible());
                EXPECT_FALSE(t.window->Session().current.HasDatabase());
            }};
}

std::vector<Row> Rows() {
    return {
        AsksForFile("mnuOpDB", false),
        AsksForFile("mnuCrDB", true, "Create a new database..."),
        {"mnuComp",
         [](Effects& t) {
             t.prompter.ExpectNotice("Compact/Repair successful", HasSubstr(" compacted & "),
                                     Icon::Information);
         },
         [](Effects& t) { EXPECT_EQ(t.prompter.Pending(), 0u); }},
        {"mnuClose", nullptr,
         [](Effects& t) {
             EXPECT_EQ(t.Find<QLabel>("lblNumDiscs")->text(), "No active database.");
             EXPECT_FALSE(t.window->Session().current.HasDatabase());
         }},
        AsksForFile("mnuSaveDBAs", true),
        // The report shows; printed to a file, the file opens.
        {"mnuDBProp",
         [](Effects& t) {
             t.prompter.ExpectMessage("Database properties", HasSubstr("KEST001.KST"),
                                      Icon::Information, Buttons::YesNo, 2, Answer::Yes);
         },
         [](Effects& t) {
             ASSERT_EQ(t.shell.opened.size(), 1u);
             EXPECT_THAT(t.shell.opened[0], HasSubstr(t.home.Path().string()));
         }},
        AsksForFile("mnuScanFolder", false, "Scan Folder"),
        AsksForFile("mnuScanImage", false, "Scan Disc Image"),
        AsksForFile("mnuGetSav0", true, "Save List as Plain Text..."),
        AsksForFile("mnuGetSav1", true, "Save List as CSV..."),
        EndsTheProgram("mnuExit"),
        ShowsView("mnuDiscs", app::View::Search, app::View::Discs),
        ShowsView("mnuSearch", app::View::Discs, app::View::Search),
        {"mnuToolbar", nullptr,
         [](Effects& t) {
             EXPECT_FALSE(t.Find<QWidget>("CoolBar1")->isVisible());
             t.CloseWindow();
             EXPECT_EQ(t.Setting("Main", "Toolbar_Visible"), "False");
         }},
        {"mnuViewTrouble", nullptr,
         [](Effects& t) {
             EXPECT_EQ(t.shell.requests,
                       std::vector<std::string>{"default " + t.home.File("Kest.dat")});
         }},
        // From the Search view the refresh shows the Discs view with the list read again.
        {"mnuRefD", [](Effects& t) { t.window->ToolbarAction(2); },
         [](Effects& t) {
             EXPECT_EQ(t.View(), app::View::Discs);
             EXPECT_EQ(t.Grid("fgdDiscs")->model()->rowCount(), 2);
             EXPECT_TRUE(t.window->isEnabled());
             EXPECT_EQ(QApplication::overrideCursor(), nullptr);
         }},
        AsksForFile("mnuRep", false),
        {"mnuReindex",
         [](Effects& t) {
             t.prompter.ExpectMessage("Rebuild Search Index", "The search index was rebuilt.",
                                      Icon::Information, Buttons::OKOnly, 1, Answer::OK);
         },
         [](Effects& t) { EXPECT_EQ(t.prompter.Pending(), 0u); }},
        OpensDialog("mnuDuplicates", "frmDuplicates"),
        OpensDialog("mnuLentDiscs", "frmLentDiscs"),
        OpensDialog("mnuOpts", "frmOpts"),
        {"mnuHowTo", nullptr,
         [](Effects& t) { EXPECT_TRUE(t.Find<QWidget>("frmContents")->isVisible()); }},
        {"mnuWE", nullptr,
         [](Effects& t) {
             ASSERT_EQ(t.shell.requests.size(), 1u);
             EXPECT_THAT(t.shell.requests[0], HasSubstr("open http"));
         }},
        OpensDialog("mnuUpdate", "frmUpdate"),
        OpensDialog("mnuDonate", "frmDonate"),
        OpensDialog("mnuAbout", "frmAbout"),
        ShowsView("tbrMain1", app::View::Search, app::View::Discs),
        ShowsView("tbrMain2", app::View::Discs, app::View::Search),
        OpensDialog("tbrMain3", "frmOpts"),
        {"tbrMain4", nullptr,
         [](Effects& t) { EXPECT_TRUE(t.Find<QWidget>("frmContents")->isVisible()); }},
        EndsTheProgram("tbrMain5"),
        OpensDialog("mnuDiscDetails", "frmDiscDetails", [](Effects& t) { t.RightClickDisc(0); }),
        {"mnuContents0", [](Effects& t) { t.RightClickDisc(0); },
         [](Effects& t) {
             EXPECT_EQ(t.View(), app::View::Search);
             EXPECT_EQ(t.Find<QLabel>("lblResultCount")->text(), "Matches Found: 3");
         }},
        {"mnuContents1", [](Effects& t) { t.RightClickDisc(0); },
         [](Effects& t) {
             EXPECT_EQ(t.View(), app::View::Search);
             EXPECT_EQ(t.Find<QComboBox>("cboSearch")->currentText(), "*");
         }},
        {"mnuDelDisc",
         [](Effects& t) {
             t.RightClickDisc(0);
             t.prompter.ExpectMessage("Disc Delete (KestID=1)", _, Icon::Exclamation,
                                      Buttons::YesNo, 2, Answer::No);
         },
         [](Effects& t) { EXPECT_EQ(t.prompter.Pending(), 0u); }},
        {"mnuMDD",
         [](Effects& t) {
             t.Grid("fgdDiscs")->selectAll();
             t.RightClickDisc(1);
             t.prompter.ExpectMessage("Disc(s) Deletion", _, Icon::Exclamation, Buttons::YesNo, 2,
                                      Answer::No);
         },
         [](Effects& t) { EXPECT_EQ(t.prompter.Pending(), 0u); }},
        AsksForFile("mnuSaveDiscs0", true, "Save List as Plain Text..."),
        AsksForFile("mnuSaveDiscs1", true, "Save List as CSV..."),
        {"mnuExplore", [](Effects& t) { t.RightClickDisc(0); }, ClosesExplore},
        OpensDialog("mnuFileDetails", "frmFileDetails", [](Effects& t) { t.RightClickResult(0); }),
        {"mnuShowInTree", [](Effects& t) { t.RightClickResult(0); }, ClosesExplore},
        OpensDialog("mnuGetFile1", "frmFileFunc", [](Effects& t) { t.RightClickResult(0); }),
        OpensDialog("mnuGetFile2", "frmFileFunc", [](Effects& t) { t.RightClickResult(0); }),
        OpensDialog("mnuGetFile3", "frmFileFunc", [](Effects& t) { t.RightClickResult(0); }),
        {"mnuMFD",
         [](Effects& t) {
             t.Grid("fgdResults")->selectAll();
             t.RightClickResult(1);
             t.prompter.ExpectInput("File Description", _, std::nullopt);
         },
         [](Effects& t) { EXPECT_EQ(t.prompter.Pending(), 0u); }},
        AsksForFile("mnuSaveRes0", true, "Save List as Plain Text..."),
        AsksForFile("mnuSaveRes1", true, "Save List as CSV..."),
    };
}

TEST_F(Effects, EveryEntryAndButtonDoesWhatItSays) {
    std::set<std::string> covered;
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.entry);
        covered.insert(row.entry);
        StartWithResults();
        shell.requests.clear();
        shell.opened.clear();
        if (row.arrange) row.arrange(*this);
        Action(row.entry)->trigger();
        row.check(*this);
        prompter.VerifyDone();
        if (window) CloseWindow();
        for (QWidget* left : QApplication::topLevelWidgets())
            if (left->isVisible()) left->close();
    }
    // A new entry needs its row here.
    StartWithResults();
    for (QAction* entry : window->findChildren<QAction*>()) {
        std::string name = entry->objectName().toStdString();
        if (name.rfind("mnu", 0) != 0 && name.rfind("tbrMain", 0) != 0) continue;
        // The tray's entries serve only where the desktop has a notification area.
        if (entry->parent() == static_cast<QObject*>(window->Parts().tray)) continue;
        EXPECT_TRUE(covered.count(name)) << name << " has no row in the effect table";
    }
}

// The window shortcuts, pressed with the focus in each kind of control: the
// drive box, the search box, a bound box and both grids.
TEST_F(Effects, EveryShortcutWorksFromEveryControl) {
    const char* controls[] = {"icbDrives", "cboSearch", "txtSzFr", "fgdDiscs", "fgdResults"};
    StartWithResults();
    std::vector<QAction*> entries;
    for (QAction* entry : window->findChildren<QAction*>())
        if (!entry->shortcut().isEmpty()) {
            entries.push_back(entry);
            // Only the key is under test here; the table above checks what each entry does.
            QObject::disconnect(entry, &QAction::triggered, nullptr, nullptr);
        }
    ASSERT_EQ(entries.size(), 12u);
    for (const char* name : controls) {
        bool discsView = std::string(name) == "icbDrives" || std::string(name) == "fgdDiscs";
        for (QAction* entry : entries) {
            SCOPED_TRACE(std::string(name) + " " + entry->shortcut().toString().toStdString());
            window->ToolbarAction(discsView ? 1 : 2);
            QWidget* control = Find<QWidget>(name);
            control->setFocus();
            for (auto* grid : window->findChildren<gui::ListGrid*>()) grid->clearSelection();
            if (auto* box = qobject_cast<QLineEdit*>(control)) box->deselect();
            if (auto* combo = qobject_cast<QComboBox*>(control)) combo->lineEdit()->deselect();
            ASSERT_TRUE(control->hasFocus());
            QSignalSpy triggered(entry, &QAction::triggered);
            QKeyCombination key = entry->shortcut()[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            EXPECT_EQ(triggered.count(), 1);
            if (!entry->isCheckable()) continue;
            // Put the toolbar back for the next key.
            if (entry->objectName() == "mnuToolbar" && !entry->isChecked()) entry->setChecked(true);
        }
    }
}

}  // namespace
}  // namespace kest::test
