// The Search view's query, its history, the bound boxes' checks and tool tips
// and Clear All through the window's widgets.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "WindowFixture.h"
#include "core/engine/Database.h"
#include "gui/app/DiscsView.h"
#include "gui/app/SearchView.h"
#include "gui/app/ViewSwitch.h"

namespace kest::test {
namespace {

using ::testing::_;

class SearchView : public WindowFixture {
  protected:
    void Type(const char* text) {
        auto* box = Find<QComboBox>("cboSearch");
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }
    QLineEdit* Box(const char* name) { return Find<QLineEdit>(name); }
    // The sample catalog with `count` more files in many/, named "many <n>".
    void PutManyFiles(int count, const std::function<int(int)>& n) {
        auto db = engine::Database::Open(PutSampleCatalog(), "");
        db->Begin();
        auto insert = db->Prepare(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (1, 'many/', ?, 1)");
        for (int i = 0; i < count; ++i) {
            insert.Bind(1, "many " + std::to_string(n(i)));
            insert.Run();
        }
        db->Commit();
    }
    int ColumnNamed(const QString& header) {
        QAbstractItemModel* model = Find<gui::ListGrid>("fgdResults")->model();
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString().startsWith(header)) return c;
        return -1;
    }
};

TEST_F(SearchView, EnterRunsTheSearchIntoTheGridAndTheHistory) {
    PutSampleCatalog();
    Start();
    window->ToolbarAction(2);
    Type("*.jpg");
    auto* grid = Find<gui::ListGrid>("fgdResults");
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 2).data().toString(), "Beach.JPG");
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: 1");
    Type("readme*");
    auto* box = Find<QComboBox>("cboSearch");
    ASSERT_GE(box->count(), 2);
    EXPECT_EQ(box->itemText(0), "readme*");
    EXPECT_EQ(box->itemText(1), "*.jpg");
    EXPECT_EQ(grid->model()->rowCount(), 1);
}

// Behind a search's message box the window already shows its outcome: the
// count (or the error line) and the hourglass, the search controls greyed.
TEST_F(SearchView, TheOutcomeShowsBeforeItsMessage) {
    PutSampleCatalog();
    Start();
    window->ToolbarAction(2);
    Type("*.jpg");
    struct Shown {
        QString count, status;
        bool busy, queryEnabled;
    };
    std::vector<Shown> shown;
    prompter.onPrompt = [&](const std::string&) {
        shown.push_back({Find<QLabel>("lblResultCount")->text(), Find<QLabel>("sbr1Panel1")->text(),
                         QApplication::overrideCursor() != nullptr, Find("cmdQuery")->isEnabled()});
    };
    prompter.ExpectNotice("Search results", "No Records found with specified criteria.",
                          Icon::Information);
    Type("nothing-is-called-this");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].count, "Matches Found: 0");
    EXPECT_TRUE(shown[0].status.startsWith("Search time: "));
    EXPECT_TRUE(shown[0].busy);
    EXPECT_FALSE(shown[0].queryEnabled);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Find("cmdQuery")->isEnabled());

    // The contents of an empty disc, from the Discs view.
    shown.clear();
    window->ToolbarAction(1);
    auto* discs = Find<gui::ListGrid>("fgdDiscs");
    discs->selectRow(1);
    prompter.ExpectNotice("Search results", "No Records found with this criteria.",
                          Icon::Information);
    window->Parts().discs->ShowMenu(QPoint(5, discs->rowViewportPosition(1) + 2));
    window->Menus().mnuPopUp1->hide();
    Action("mnuContents0")->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].count, "Matches Found: 0");
    EXPECT_TRUE(shown[0].busy);
    EXPECT_EQ(window->Parts().views->Current(), app::View::Search);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    prompter.onPrompt = nullptr;
}

// A long list shows its first rows while it fills, with the count still
// "---" and the rows so far in the status bar; the list moves under the keys
// meanwhile, and Escape stops the fill, keeping the rows read so far.
TEST_F(SearchView, ALongListShowsItsFirstRowsAndEscapeStopsIt) {
    constexpr int kRows = 20000;
    PutManyFiles(kRows, [](int i) { return 100000 + i; });
    Start();
    Activate();
    window->ToolbarAction(2);
    auto* view = window->findChild<gui::SearchView*>(QStringLiteral("searchView"));
    ASSERT_NE(view, nullptr);
    view->SetArrivalPause(std::chrono::milliseconds(0));
    auto* grid = Find<gui::ListGrid>("fgdResults");
    struct Seen {
        int rows, gridRows;
        QString count, status;
    };
    std::vector<Seen> seen;
    QObject::connect(view, &gui::SearchView::RowsArrived, [&](int rows) {
        seen.push_back({rows, grid->model()->rowCount(), Find<QLabel>("lblResultCount")->text(),
                        Find<QLabel>("sbr1Panel2")->text()});
        if (rows < 2000) return;
        // Handled by the window's next turn, inside the fill.
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QCoreApplication::postEvent(
            grid, new QKeyEvent(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier));
        QCoreApplication::postEvent(grid, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
    });
    Type("many*");
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().gridRows, seen.front().rows);
    EXPECT_EQ(seen.front().count, "Matches Found: ---");
    EXPECT_EQ(seen.front().status.toStdString(),
              std::to_string(seen.front().rows) + " rows so far; Esc stops the search");
    const int shown = grid->model()->rowCount();
    EXPECT_GE(shown, 2000);
    EXPECT_LT(shown, kRows);
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text().toStdString(),
              "Matches Found: " + std::to_string(shown) + " (aborted)");
    EXPECT_EQ(Find<QLabel>("sbr1Panel1")->text(), "Search stopped");
    EXPECT_EQ(Find<QLabel>("sbr1Panel2")->text(), "");
    EXPECT_EQ(grid->model()->index(shown - 1, 2).data().toString().toStdString(),
              "many " + std::to_string(100000 + shown - 1));
    // Ctrl+End moved to the last row shown when it was pressed.
    EXPECT_EQ(grid->currentIndex().row(), seen.back().rows - 1);
    EXPECT_TRUE(Find("cmdQuery")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A header click on a long list sorts it while the window goes on painting
// under the busy pointer; the new order shows at once when it is complete.
TEST_F(SearchView, ALongListSortsWhileTheWindowPaints) {
    constexpr int kRows = 200000;
    PutManyFiles(kRows, [](int i) { return 300000 - i; });
    Start();
    Activate();
    window->ToolbarAction(2);
    Type("many*");
    auto* grid = Find<gui::ListGrid>("fgdResults");
    ASSERT_EQ(grid->model()->rowCount(), kRows);
    const int name = ColumnNamed(QStringLiteral("File Name"));
    ASSERT_GE(name, 0);
    auto nameAt = [&](int row) {
        return grid->model()->index(row, name).data().toString().toStdString();
    };
    // The search gives the names ascending; the second click turns them round.
    emit grid->horizontalHeader()->sectionClicked(name);
    ASSERT_EQ(nameAt(0), "many 100001");
    bool clickReturned = false, ranDuringSort = false, busy = false;
    std::string firstMeanwhile;
    QTimer::singleShot(0, [&] {
        ranDuringSort = !clickReturned;
        busy = QApplication::overrideCursor() != nullptr;
        firstMeanwhile = nameAt(0);
    });
    emit grid->horizontalHeader()->sectionClicked(name);
    clickReturned = true;
    EXPECT_TRUE(ranDuringSort);
    EXPECT_TRUE(busy);
    EXPECT_EQ(firstMeanwhile, "many 100001");
    EXPECT_EQ(nameAt(0), "many 300000");
    EXPECT_EQ(nameAt(kRows - 1), "many 100001");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SearchView, ClearAllEmptiesTheCriteriaAndAsksAboutTheHistory) {
    PutSampleCatalog();
    WriteSettings("[Search_Options]\nAdvanced=True\n");
    Start();
    window->ToolbarAction(2);
    Type("*");
    Find<QLineEdit>("txtSzFr")->setText("1");
    prompter.ExpectMessage("Clear search list?",
                           "Would you also like to clear the drop-down search list?",
                           Icon::Question, Buttons::YesNo, 2, Answer::Yes);
    Find<QPushButton>("cmdClear")->click();
    EXPECT_EQ(Find<QComboBox>("cboSearch")->currentText(), "");
    EXPECT_EQ(Find<QComboBox>("cboSearch")->count(), 0);
    EXPECT_EQ(Find<QLineEdit>("txtSzFr")->text(), "");
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: ---");
    EXPECT_TRUE(Find("cmdQuery")->isEnabled());
}

TEST_F(SearchView, TheSizeBoxesNameTheUnitOfTheSizeFormat) {
    const struct {
        const char* format;
        const char* unit;
    } cases[] = {{"1", "MB"}, {"2", "KB"}, {"3", "B"}, {"7", "MB"}};
    PutSampleCatalog();
    for (const auto& c : cases) {
        WriteSettings(std::string("[Search_Options]\nSizeFormat=") + c.format + "\n");
        Start();
        EXPECT_EQ(Box("txtSzFr")->toolTip().toStdString(),
                  std::string("Lower bound of size in ") + c.unit);
        EXPECT_EQ(Box("txtSzTo")->toolTip().toStdString(),
                  std::string("Upper bound of size in ") + c.unit);
        CloseWindow();
    }
}

// Each failing bound shows its message and takes the focus, its text kept;
// the boxes before it are fine, the ones after it are never looked at.
TEST_F(SearchView, AFailingBoundTakesTheFocusWithItsTextKept) {
    PutSampleCatalog();
    WriteSettings("[Search_Options]\nAdvanced=True\n");
    Start();
    Activate();
    window->ToolbarAction(2);
    const struct {
        const char* box;
        const char* text;
        const char* title;
        const char* message;
    } cases[] = {
        {"txtSzFr", "-1", "Size - Lower Bound Error", "Positive number is required!"},
        {"txtSzTo", "big", "Size - Upper Bound Error", "Positive number is required!"},
        {"txtDtFr", "13/45/1999", "Date - Lower Bound Error", "Valid date is required!"},
        {"txtDtTo", "soon", "Date - Upper Bound Error", "Valid date is required!"},
        {"txtRiFr", "-3", "KestID - Lower Bound Error", "Positive number is required!"},
        {"txtRiTo", "x1", "KestID - Upper Bound Error", "Positive number is required!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        for (const char* name : {"txtSzFr", "txtSzTo", "txtDtFr", "txtDtTo", "txtRiFr", "txtRiTo"})
            Box(name)->setText(QStringLiteral("1e3"));
        Box("txtDtFr")->setText(QStringLiteral("01/01/1990"));
        Box("txtDtTo")->setText(QStringLiteral("12/31/2030"));
        Box(c.box)->setText(QString::fromLatin1(c.text));
        prompter.ExpectNotice(c.title, c.message, Icon::Critical);
        Type("*");
        prompter.VerifyDone();
        EXPECT_EQ(QApplication::focusWidget(), Box(c.box));
        EXPECT_EQ(Box(c.box)->text().toStdString(), c.text);
        EXPECT_TRUE(Box(c.box)->isEnabled());
        EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: ---");
    }
    // Enter in a bound box searches as the button does.
    Box("txtRiFr")->setText(QStringLiteral("2"));
    Box("txtRiTo")->setText(QStringLiteral("2"));
    prompter.ExpectNotice("Search results", "No Records found with specified criteria.",
                          Icon::Information);
    QTest::keyClick(Box("txtRiTo"), Qt::Key_Return);
    prompter.VerifyDone();
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: 0");

    // With the panel closed the same text is neither checked nor used.
    Find<QPushButton>("cmdAdv")->click();
    Type("*");
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: 3");
}

TEST_F(SearchView, TheFocusSelectsABoundBoxsWholeText) {
    PutSampleCatalog();
    WriteSettings("[Search_Options]\nAdvanced=True\n");
    Start();
    Activate();
    window->ToolbarAction(2);
    for (const char* name : {"txtSzFr", "txtDtTo", "txtRiTo"}) {
        Box(name)->setText(QStringLiteral("12345"));
        Box(name)->setFocus();
        EXPECT_EQ(Box(name)->selectedText(), "12345") << name;
        Find<QComboBox>("cboSearch")->setFocus();
    }
}

// Most recent first, a repeat in another letter case changes nothing, and
// only fifteen entries are kept in the settings.
TEST_F(SearchView, TheHistoryKeepsTheFifteenMostRecentSearches) {
    PutSampleCatalog();
    Start();
    window->ToolbarAction(2);
    auto search = [&](const std::string& text) {
        prompter.ExpectNotice("Search results", _, Icon::Information);  // nothing matches
        Type(text.c_str());
    };
    for (int i = 1; i <= 17; ++i) search("pattern" + std::to_string(i));
    search("PATTERN16");
    prompter.VerifyDone();
    auto* box = Find<QComboBox>("cboSearch");
    EXPECT_EQ(box->itemText(0), "pattern17");
    EXPECT_EQ(box->itemText(1), "pattern16");
    CloseWindow();
    EXPECT_EQ(Setting("Search_Items", "Number"), "15");
    EXPECT_EQ(Setting("Search_Items", "0"), "pattern17");
    EXPECT_EQ(Setting("Search_Items", "14"), "pattern3");
    EXPECT_EQ(Setting("Search_Items", "15"), "");

    Start();
    box = Find<QComboBox>("cboSearch");
    ASSERT_EQ(box->count(), 15);
    EXPECT_EQ(box->itemText(0), "pattern17");
}

TEST_F(SearchView, ClearAllAnsweredNoKeepsTheHistory) {
    PutSampleCatalog();
    Start();
    window->ToolbarAction(2);
    Type("*.jpg");
    prompter.ExpectMessage("Clear search list?", _, Icon::Question, Buttons::YesNo, 2, Answer::No);
    Find<QPushButton>("cmdClear")->click();
    prompter.VerifyDone();
    auto* box = Find<QComboBox>("cboSearch");
    EXPECT_EQ(box->currentText(), "");
    ASSERT_EQ(box->count(), 1);
    EXPECT_EQ(box->itemText(0), "*.jpg");
    EXPECT_EQ(Find<gui::ListGrid>("fgdResults")->model()->rowCount(), 1);
    EXPECT_EQ(Find<gui::ListGrid>("fgdResults")->model()->index(0, 0).data().toString(), "");
}

}  // namespace
}  // namespace kest::test
