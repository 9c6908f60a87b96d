// The window as a keyboard user and a screen reader meet it: Enter in the
// boxes, the search history, the grids' pop-up menus by key, Tab, Enter on a
// fresh result, and details only on double-click or Enter. Keys go through
// the window system's path (QWindow), as a desktop delivers them; the tests
// also run under a real X server (xcb).
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "gui/grids/ListGrid.h"

namespace kest::test {
namespace {

// A desktop set to open items on a single click.
class SingleClickStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == QStyle::SH_ItemView_ActivateItemOnSingleClick) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

class Keyboard : public WindowFixture {
  protected:
    void SetUp() override {
        PutSampleCatalog();
        Start();
        Activate();
    }
    // A key as the desktop sends it: to the window, which hands it to the
    // control with the focus.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), Qt::Key(key), modifiers);
    }
    gui::ListGrid* Grid(const char* name) { return Find<gui::ListGrid>(name); }
    void SearchEverything() {
        Press(Qt::Key_S, Qt::ControlModifier);
        Find<QComboBox>("cboSearch")->setEditText(QStringLiteral("*"));
        Press(Qt::Key_Return);
    }
};

TEST_F(Keyboard, EnterInTheSearchBoxSearchesAndQueryIsTheDefaultButOnTheResults) {
    Press(Qt::Key_S, Qt::ControlModifier);
    auto* search = Find<QComboBox>("cboSearch");
    ASSERT_TRUE(search->hasFocus());
    search->setEditText(QStringLiteral("*"));
    EXPECT_TRUE(Find<QPushButton>("cmdQuery")->isDefault());
    Press(Qt::Key_Return);
    EXPECT_THAT(Find<QLabel>("lblResultCount")->text().toStdString(),
                ::testing::StartsWith("Matches Found: "));
    EXPECT_NE(Find<QLabel>("lblResultCount")->text(), "Matches Found: ---");
    ASSERT_TRUE(Grid("fgdResults")->hasFocus());
    EXPECT_FALSE(Find<QPushButton>("cmdQuery")->isDefault());
    search->setFocus();
    EXPECT_TRUE(Find<QPushButton>("cmdQuery")->isDefault());
}

TEST_F(Keyboard, TheSearchHistoryIsAListToPickFromNotAnInlineCompletion) {
    window->ToolbarAction(2);
    auto* search = Find<QComboBox>("cboSearch");
    search->setEditText(QStringLiteral("readme,photos"));
    Press(Qt::Key_Return);
    search->setFocus();
    search->clearEditText();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("readme"));
    EXPECT_EQ(search->currentText(), "readme");
    EXPECT_EQ(search->itemText(0), "readme,photos");
}

TEST_F(Keyboard, CtrlSSelectsTheSearchTextToTypeOverIt) {
    Find<QComboBox>("cboSearch")->setEditText(QStringLiteral("*.jpg"));
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Find<QComboBox>("cboSearch")->lineEdit()->selectedText(), "*.jpg");
}

// What a screen reader hears of: the accessibility events of the run.
std::vector<std::pair<QAccessible::Event, QObject*>> g_heard;
void Hear(QAccessibleEvent* event) {
    g_heard.emplace_back(event->type(), event->object());
}

TEST_F(Keyboard, TheMenuKeyAndShiftF10OpenTheGridsPopUpsWhichScreenReadersSee) {
    SearchEverything();
    QAccessible::installUpdateHandler(Hear);
    QAccessible::setActive(true);
    struct Case {
        const char* grid;
        const char* menu;
        const char* name;
        const char* entry;
    };
    for (const Case& c :
         {Case{"fgdDiscs", "mnuPopUp1", "Disc list menu", "Disc Details..."},
          Case{"fgdResults", "mnuPopUp2", "Search results menu", "File Details..."}}) {
        window->ToolbarAction(std::string(c.grid) == "fgdDiscs" ? 1 : 2);
        Grid(c.grid)->setFocus();
        auto* menu = Find<QMenu>(c.menu);
        for (auto [key, modifiers] :
             {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
            SCOPED_TRACE(std::string(c.grid) + " " + std::to_string(key));
            g_heard.clear();
            Press(key, modifiers);
            ASSERT_TRUE(menu->isVisible());
            // Announced as a pop-up where the platform has an accessibility
            // bridge (xcb has, offscreen has none), named, with its entries.
            if (QAccessible::isActive()) {
                EXPECT_NE(
                    std::find(g_heard.begin(), g_heard.end(),
                              std::pair{QAccessible::PopupMenuStart, static_cast<QObject*>(menu)}),
                    g_heard.end());
            }
            QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(menu);
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->role(), QAccessible::PopupMenu);
            EXPECT_EQ(shown->text(QAccessible::Name), c.name);
            EXPECT_EQ(shown->child(0)->text(QAccessible::Name), c.entry);
            menu->hide();
        }
    }
    QAccessible::setActive(false);
    QAccessible::installUpdateHandler(nullptr);
}

TEST_F(Keyboard, TabLeavesTheGrids) {
    SearchEverything();
    for (const char* name : {"fgdResults", "fgdDiscs"}) {
        window->ToolbarAction(std::string(name) == "fgdDiscs" ? 1 : 2);
        Grid(name)->setFocus();
        Press(Qt::Key_Tab);
        EXPECT_FALSE(Grid(name)->hasFocus()) << name;
    }
}

TEST_F(Keyboard, EnterOnAFreshResultOpensItsDetailsWhateverTheFocusWas) {
    DialogDriver dialogs;
    dialogs.On("frmFileDetails", [](QDialog& dialog) { dialog.reject(); });
    SearchEverything();
    ASSERT_TRUE(Grid("fgdResults")->hasFocus());
    EXPECT_TRUE(Grid("fgdResults")->currentIndex().isValid());
    // A second search while the grid keeps the focus gives a current row too.
    Find<QComboBox>("cboSearch")->setEditText(QStringLiteral("*.jpg"));
    Find<QPushButton>("cmdQuery")->click();
    ASSERT_TRUE(Grid("fgdResults")->hasFocus());
    Press(Qt::Key_Return);
    EXPECT_EQ(dialogs.Opened("frmFileDetails"), 1);
}

TEST_F(Keyboard, DetailsOpenOnDoubleClickAndEnterNeverOnASingleClick) {
    DialogDriver dialogs;
    dialogs.On("frmDiscDetails", [](QDialog& dialog) { dialog.reject(); });
    gui::ListGrid* discs = Grid("fgdDiscs");
    SingleClickStyle style;
    discs->setStyle(&style);
    QPoint row = discs->visualRect(discs->model()->index(0, 1)).center();
    QTest::mouseClick(discs->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(dialogs.Opened("frmDiscDetails"), 0);
    QTest::mouseDClick(discs->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(dialogs.Opened("frmDiscDetails"), 1);
    discs->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(dialogs.Opened("frmDiscDetails"), 2);
    discs->setStyle(nullptr);
}

TEST_F(Keyboard, TheToolbarsHiddenButtonHasAName) {
    for (auto* button : Find<QToolBar>("tbrMain")->findChildren<QToolButton*>())
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name).isEmpty())
            << button->objectName().toStdString();
}

}  // namespace
}  // namespace kest::test
