// Window layout, toolbar toggle, window place and the tray icon.
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>

#include "WindowFixture.h"
#include "gui/app/TrayIcon.h"
#include "gui/app/WindowPlace.h"

namespace kest::test {
namespace {

class Layout : public WindowFixture {
  protected:
    void StartWithCatalog(const std::string& settings = {}) {
        PutSampleCatalog();
        if (!settings.empty()) WriteSettings(settings);
        Start();
    }
};

TEST_F(Layout, MinimumSizeFollowsTheAdvancedPanel) {
    StartWithCatalog();
    // 5865 x 6045 twips, and 8625 wide with the advanced panel open.
    EXPECT_EQ(window->minimumSize(), QSize(391, 403));
    window->resize(100, 100);
    EXPECT_GE(window->width(), 391);
    EXPECT_GE(window->height(), 403);

    window->ToolbarAction(2);
    Find<QPushButton>("cmdAdv")->click();
    EXPECT_EQ(Find<QPushButton>("cmdAdv")->text(), "<< &Advanced");
    EXPECT_EQ(window->minimumWidth(), 575);
    EXPECT_GE(window->width(), 575);
    EXPECT_TRUE(Find("txtSzFr")->isVisible());
    // The open panel and the search row fit the wider minimum.
    window->layout()->activate();
    EXPECT_LE(window->minimumSizeHint().width(), 575);
    window->resize(575, 403);
    QApplication::processEvents();
    for (const char* name : {"cboSearch", "cmdQuery", "cmdAdv", "cmdClear", "lblResultCount",
                             "txtSzFr", "txtSzTo", "txtDtFr", "txtDtTo", "txtRiFr", "txtRiTo"}) {
        QWidget* control = Find(name);
        QRect shown(control->mapTo(window.get(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(window->rect().contains(shown)) << name;
        EXPECT_GE(control->width(), control->minimumSizeHint().width()) << name;
    }
    Find<QPushButton>("cmdAdv")->click();
    EXPECT_EQ(window->minimumWidth(), 391);
    EXPECT_FALSE(Find("txtSzFr")->isVisible());
    // Every control of either view fits the smallest window.
    for (int view : {1, 2}) {
        window->ToolbarAction(view);
        window->layout()->activate();
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(window.get())) continue;
            EXPECT_LE(child->minimumSizeHint().width(), 391)
                << view << " " << child->objectName().toStdString();
        }
        EXPECT_LE(window->minimumSizeHint().width(), 391) << view;
    }
}

TEST_F(Layout, AdvancedSettingOpensThePanelInTheSearchView) {
    StartWithCatalog("[Search_Options]\nAdvanced=True\n");
    EXPECT_EQ(window->minimumWidth(), 575);
    EXPECT_FALSE(Find("txtSzFr")->isVisible());
    window->ToolbarAction(2);
    EXPECT_EQ(Find<QPushButton>("cmdAdv")->text(), "<< &Advanced");
    EXPECT_TRUE(Find("txtRiTo")->isVisible());
}

TEST_F(Layout, ToolbarToggleMovesTheControlsAndGrowsTheGrids) {
    StartWithCatalog();
    Activate();
    auto* grid = Find("fgdDiscs");
    QRect before = grid->geometry();
    QPoint driveTop = Find("icbDrives")->mapTo(window.get(), QPoint());
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_FALSE(Action("mnuToolbar")->isChecked());
    EXPECT_FALSE(Find("CoolBar1")->isVisible());
    QPoint driveTopAfter = Find("icbDrives")->mapTo(window.get(), QPoint());
    EXPECT_EQ(driveTop.y() - driveTopAfter.y(), 56);  // the band's 840 twips
    EXPECT_EQ(grid->geometry().height() - before.height(), 56);

    window->Exit();
    EXPECT_EQ(Setting("Main", "Toolbar_Visible"), "False");
    window.reset();
    Start();
    EXPECT_FALSE(Action("mnuToolbar")->isChecked());
    EXPECT_FALSE(Find("CoolBar1")->isVisibleTo(window.get()));
}

TEST_F(Layout, StoredPlaceIsRestoredAndKeptOnAScreen) {
    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* what;
        const char* positions;
        QRect expected;
    };
    const Case cases[] = {
        {"as stored", "Left=1500\nTop=1200\nWidth=9000\nHeight=6900\n", QRect(100, 80, 600, 460)},
        {"negative place", "Left=-3000\nTop=-900\nWidth=9000\nHeight=6900\n",
         QRect(0, 0, 600, 460)},
        {"beyond the right edge", "Left=999999\nTop=0\nWidth=9000\nHeight=6900\n",
         QRect(screen.right() + 1 - 600, 0, 600, 460)},
        {"zero size", "Left=0\nTop=0\nWidth=0\nHeight=0\n", QRect(0, 0, 391, 403)},
    };
    PutSampleCatalog();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteSettings(std::string("[Positions]\n") + c.positions);
        Start();
        EXPECT_EQ(QRect(window->pos(), window->size()), c.expected);
        CloseWindow();
    }
}

TEST_F(Layout, MaximisedWindowKeepsItsNormalPlace) {
    StartWithCatalog("[Positions]\nLeft=1500\nTop=1200\nWidth=9000\nHeight=6900\nMaximized=True\n");
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    window->Exit();
    EXPECT_EQ(Setting("Positions", "Maximized"), "True");
    EXPECT_EQ(Setting("Positions", "Left"), "1500");
}

TEST_F(Layout, RectanglesOffEveryScreenComeBack) {
    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect far = gui::OntoAScreen(QRect(50000, 50000, 300, 200));
    EXPECT_TRUE(screen.contains(far));
    EXPECT_EQ(far.size(), QSize(300, 200));
    QRect huge = gui::OntoAScreen(QRect(-10, -10, 99999, 99999));
    EXPECT_EQ(huge, screen);
}

TEST_F(Layout, TrayIconOnlyWhereTheDesktopHasOne) {
    StartWithCatalog("[Main]\nMinToSysTray=True\n");
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Without a notification area the setting has no effect.
        EXPECT_EQ(window->Parts().tray, nullptr);
        EXPECT_TRUE(window->QueryUnload(true));
        return;
    }
    ASSERT_NE(window->Parts().tray, nullptr);
    EXPECT_FALSE(window->QueryUnload(true));
    EXPECT_TRUE(window->Parts().tray->IsShown());
    EXPECT_FALSE(window->isVisible());
    QMenu* menu = window->Parts().tray->PopUpMenu();
    EXPECT_EQ(menu->defaultAction()->text(), "&Restore");
    EXPECT_TRUE(menu->defaultAction()->font().bold());
    menu->defaultAction()->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->Parts().tray->IsShown());
}

}  // namespace
}  // namespace kest::test

namespace kest::test {
namespace {

TEST_F(Layout, ColumnWidthsTheUserSetAreKept) {
    PutSampleCatalog();
    WriteSettings("[Discs_Columns]\nCol1Width=1500\n");
    Start();
    auto* discs = Find<gui::ListGrid>("fgdDiscs");
    EXPECT_EQ(discs->columnWidth(1), 100);
    discs->setColumnWidth(2, 150);
    window->ToolbarAction(2);
    auto* results = Find<gui::ListGrid>("fgdResults");
    auto* box = Find<QComboBox>("cboSearch");
    box->setEditText("*");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(results->model()->headerData(2, Qt::Horizontal).toString(), "File Name");
    results->setColumnWidth(2, 200);
    window->Exit();
    EXPECT_EQ(Setting("Discs_Columns", "Col1Width"), "1500");
    EXPECT_EQ(Setting("Discs_Columns", "Col2Width"), "2250");
    EXPECT_EQ(Setting("Results_Columns", "Res7Width"), "3000");  // File Name
}

// Widths of 0 or below in the settings never hide a column: it shows at the
// grid's default width, and the next save stores that width. The hidden
// columns (file identifier, date sort key) stay hidden.
TEST_F(Layout, ZeroOrNegativeWidthsShowTheColumnAtTheDefaultWidth) {
    StartWithCatalog(
        "[Discs_Columns]\nCol0Width=0\nCol2Width=-700\n"
        "[Results_Columns]\nShowCol10=1\nRes0Width=-1\nRes7Width=0\nRes10Width=-32768\n");
    auto* discs = Find<gui::ListGrid>("fgdDiscs");
    ASSERT_EQ(discs->model()->columnCount(), 6);
    for (int c : {0, 2})
        EXPECT_EQ(discs->columnWidth(c), discs->horizontalHeader()->defaultSectionSize());

    window->ToolbarAction(2);
    auto* box = Find<QComboBox>("cboSearch");
    box->setEditText("*");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    auto* results = Find<gui::ListGrid>("fgdResults");
    QStringList headers;
    for (int c = 0; c < results->model()->columnCount(); ++c) {
        headers << results->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_GT(results->columnWidth(c), 0) << c;
    }
    EXPECT_EQ(headers.join(QLatin1Char('|')).toStdString(),
              "Kest ID|File Directory|File Name|File Size (MB)|File Date");
    window->Exit();
    for (const auto& [section, key] : {std::pair{"Discs_Columns", "Col0Width"},
                                       {"Discs_Columns", "Col2Width"},
                                       {"Results_Columns", "Res0Width"},
                                       {"Results_Columns", "Res7Width"},
                                       {"Results_Columns", "Res10Width"}})
        EXPECT_GT(std::stoi(Setting(section, key)), 0) << key;
}

TEST_F(Layout, ColoursGridLinesAndFontComeFromTheSettings) {
    struct Case {
        const char* what;
        const char* settings;
        QColor back;  // invalid: the desktop's own colour
        bool gridLines;
        int pointSize;
    };
    const Case cases[] = {
        {"defaults", "", QColor(192, 0, 0), true, 8},
        {"blue, no lines, 12 pt", "[Main]\nBack_Color=16711680\nGridLines=0\nFont_Size=12\n",
         QColor(0, 0, 255), false, 12},
        {"colour out of range, font missing, size too big",
         "[Main]\nBack_Color=-2147483633\nFont=No Such Font At All\nFont_Size=100\n", QColor(),
         true, 8},
    };
    PutSampleCatalog();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteSettings(c.settings);
        Start();
        QColor backdrop = Find("LblBack")->palette().color(QPalette::Window);
        QColor gridBack = Find("fgdDiscs")->palette().color(QPalette::Base);
        QColor desktop = QApplication::palette().color(QPalette::Base);
        EXPECT_EQ(gridBack, c.back.isValid() ? c.back : desktop);
        if (c.back.isValid()) {
            EXPECT_EQ(backdrop, c.back);
        }
        for (const char* grid : {"fgdDiscs", "fgdResults"}) {
            EXPECT_EQ(Find<gui::ListGrid>(grid)->showGrid(), c.gridLines);
            EXPECT_EQ(Find(grid)->font().pointSize(), c.pointSize);
        }
        EXPECT_TRUE(window->isEnabled());
        CloseWindow();
    }
}

}  // namespace
}  // namespace kest::test
