// The disc list's pop-up entries for one and several rows, the Delete key and
// saving either list from the pop-up menus and the File menu.
#include <QApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "WindowFixture.h"
#include "gui/app/DiscsView.h"
#include "gui/app/ViewSwitch.h"
#include "gui/dialogs/DesktopShell.h"
#include "support/catalog/CatalogFixture.h"
#include "support/platform/FakeShell.h"

namespace kest::test {
namespace {

using ::testing::_;
using ::testing::HasSubstr;

class GridActions : public WindowFixture {
  protected:
    void SetUp() override {
        gui::UseDesktopShell(&shell);
        PutSampleCatalog();
        Start();
    }
    void TearDown() override { gui::UseDesktopShell(nullptr); }
    gui::ListGrid* Discs() { return Find<gui::ListGrid>("fgdDiscs"); }
    // Right-clicks a disc row (0-based) and closes the menu again.
    void RightClick(int row) {
        // The row in view first: the grid may be only a row high.
        Discs()->scrollTo(Discs()->model()->index(row, 0));
        QPoint at(5, Discs()->rowViewportPosition(row) + 2);
        window->Parts().discs->ShowMenu(at);
        window->Menus().mnuPopUp1->hide();
    }
    // Which of the single-disc entries and Multiple Disc Delete show.
    std::string Entries() {
        const gui::MainMenus& m = window->Menus();
        std::string shown;
        for (QAction* entry :
             {m.mnuDiscDetails, m.mnuContents[0], m.mnuContents[1], m.mnuDelDisc, m.mnuMDD})
            if (entry->isVisible()) shown += entry->objectName().toStdString() + " ";
        return shown;
    }
    std::string Column0() {
        std::string ids;
        for (int r = 0; r < Discs()->model()->rowCount(); ++r)
            ids += Discs()->model()->index(r, 0).data().toString().toStdString() + " ";
        return ids;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    FakeShell shell;
};

TEST_F(GridActions, OneRowOffersTheDiscEntriesAndListsItsContents) {
    RightClick(0);
    EXPECT_EQ(Entries(), "mnuDiscDetails mnuContents0 mnuContents1 mnuDelDisc ");
    Action("mnuContents0")->trigger();
    EXPECT_EQ(window->Parts().views->Current(), app::View::Search);
    auto* results = Find<gui::ListGrid>("fgdResults");
    EXPECT_EQ(results->model()->rowCount(), 3);
    EXPECT_EQ(Find<QLabel>("lblResultCount")->text(), "Matches Found: 3");

    Action("mnuContents1")->trigger();
    EXPECT_EQ(results->model()->rowCount(), 3);  // the second disc is empty
}

TEST_F(GridActions, SeveralRowsOfferOnlyTheMultipleDelete) {
    Discs()->selectAll();
    RightClick(1);
    EXPECT_EQ(Entries(), "mnuContents1 mnuMDD ");
    EXPECT_EQ(Discs()->selectionModel()->selectedRows().size(), 2);
    // A click outside the selection selects the clicked row alone.
    Discs()->clearSelection();
    Discs()->selectRow(1);
    RightClick(0);
    EXPECT_EQ(Discs()->selectionModel()->selectedRows().size(), 1);
    EXPECT_THAT(Entries(), HasSubstr("mnuDelDisc"));
}

TEST_F(GridActions, DeleteFromThePopUpAsksAndReloadsTheList) {
    RightClick(1);
    prompter.ExpectMessage("Disc Delete (KestID=2)", _, Icon::Exclamation, Buttons::YesNo, 2,
                           Answer::No);
    Action("mnuDelDisc")->trigger();
    EXPECT_EQ(Column0(), "1 2 ");
    prompter
        .ExpectMessage("Disc Delete (KestID=2)", _, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes)
        .ExpectNotice("Disc Delete (KestID=2)", _, Icon::Information);
    Action("mnuDelDisc")->trigger();
    prompter.VerifyDone();
    EXPECT_EQ(Column0(), "1 ");
    EXPECT_EQ(Find<QLabel>("lblNumDiscs")->text().toStdString(),
              "1 disc (3 files) in kest001.kst database.");
}

TEST_F(GridActions, TheDeleteKeyRemovesEverySelectedDisc) {
    Discs()->setFocus();
    Discs()->selectAll();
    prompter
        .ExpectMessage("Disc(s) Deletion", HasSubstr("Kest Id:\r\n1,2\r\n"), Icon::Exclamation,
                       Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Disc delete successful", _, Icon::Information);
    QTest::keyClick(Discs(), Qt::Key_Delete);
    prompter.VerifyDone();
    EXPECT_EQ(Column0(), "");
    // Nothing selected in an empty list: the key asks nothing.
    QTest::keyClick(Discs(), Qt::Key_Delete);
}

TEST_F(GridActions, SavingTheDiscListAsksBeforeOverwritingAndOpensTheFile) {
    std::string path = home.Write("discs.csv", "keep me");
    prompter.ExpectSaveFile("Save List as CSV...", path)
        .ExpectMessage("File already exists", HasSubstr("Do you want to overwrite it?"),
                       Icon::Exclamation, Buttons::YesNo, 2, Answer::No)
        .ExpectNotice("File write aborted", "The file was not generated.", Icon::Information);
    Action("mnuSaveDiscs1")->trigger();
    EXPECT_EQ(Read(path), "keep me");

    prompter.ExpectSaveFile("Save List as CSV...", path)
        .ExpectMessage("File already exists", _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes);
    Action("mnuSaveDiscs1")->trigger();
    prompter.VerifyDone();
    EXPECT_THAT(Read(path), HasSubstr("Holiday 1999"));
    EXPECT_EQ(shell.opened, std::vector<std::string>{path});
}

TEST_F(GridActions, TheFileMenuSavesTheListOfTheViewShown) {
    std::string discs = home.File("discs.txt"), results = home.File("results.txt");
    prompter.ExpectSaveFile("Save List as Plain Text...", discs);
    Action("mnuGetSav0")->trigger();
    EXPECT_THAT(Read(discs), HasSubstr("Holiday 1999"));

    window->ToolbarAction(2);
    prompter.ExpectNotice("No Results", "There is nothing to save.", Icon::Exclamation);
    Action("mnuGetSav0")->trigger();
    window->ToolbarAction(1);
    RightClick(0);
    Action("mnuContents0")->trigger();
    prompter.ExpectSaveFile("Save List as Plain Text...", results);
    Action("mnuSaveRes0")->trigger();
    prompter.VerifyDone();
    EXPECT_THAT(Read(results), HasSubstr("Beach.JPG"));
}

// Header clicks sort both grids and mark the sorted column.
TEST_F(GridActions, HeaderClicksSortAndMarkTheColumn) {
    auto* header = Discs()->horizontalHeader();
    Discs()->setColumnWidth(3, 150);
    emit header->sectionClicked(3);  // Disc Vol Label, ascending
    EXPECT_EQ(Column0(), "2 1 ");
    EXPECT_TRUE(Discs()->model()->headerData(3, Qt::Horizontal).toString().endsWith("^"));
    EXPECT_EQ(Discs()->columnWidth(3), 150);
    emit header->sectionClicked(3);
    EXPECT_EQ(Column0(), "1 2 ");
    EXPECT_TRUE(Discs()->model()->headerData(3, Qt::Horizontal).toString().endsWith("v"));
    emit header->sectionClicked(0);
    EXPECT_EQ(Column0(), "1 2 ");
    EXPECT_FALSE(Discs()->model()->headerData(3, Qt::Horizontal).toString().endsWith("v"));

    RightClick(0);
    Action("mnuContents0")->trigger();
    auto* results = Find<gui::ListGrid>("fgdResults");
    QAbstractItemModel* model = results->model();
    int name = -1;
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal).toString().startsWith("File Name")) name = c;
    ASSERT_GE(name, 0);
    for (const char* marker : {"^", "v"}) {
        emit results->horizontalHeader()->sectionClicked(name);
        EXPECT_TRUE(model->headerData(name, Qt::Horizontal).toString().endsWith(marker));
        QStringList names;
        for (int r = 0; r < model->rowCount(); ++r)
            names << model->index(r, name).data().toString();
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        if (std::string(marker) == "v") std::reverse(sorted.begin(), sorted.end());
        EXPECT_EQ(names, sorted);
    }
}

// Ctrl+C copies the selected rows in list order, each once, however the
// selection was made.
TEST_F(GridActions, CopyingGivesTheSelectedRowsInOrder) {
    Action("mnuContents1")->trigger();
    auto* results = Find<gui::ListGrid>("fgdResults");
    ASSERT_EQ(results->model()->rowCount(), 3);
    auto line = [&](int row) {
        QStringList cells;
        for (int c = 0; c < results->model()->columnCount(); ++c)
            cells << results->model()->index(row, c).data().toString();
        return cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    QItemSelectionModel* selection = results->selectionModel();
    auto rows = [&](int top, int bottom) {
        return QItemSelection(results->model()->index(top, 0),
                              results->model()->index(bottom, results->model()->columnCount() - 1));
    };
    selection->select(rows(2, 2), QItemSelectionModel::ClearAndSelect);
    selection->select(rows(0, 0), QItemSelectionModel::Select);
    EXPECT_EQ(results->SelectedText(), line(0) + line(2));
    selection->select(rows(0, 1), QItemSelectionModel::Select);
    EXPECT_EQ(results->SelectedText(), line(0) + line(1) + line(2));
    selection->clearSelection();
    EXPECT_EQ(results->SelectedText(), "");
}

// Drops on the disc list: a catalog file opens, anything else is refused or
// ignored without a message.
class DropOnDiscs : public GridActions {
  protected:
    // Sends the drag and the drop; whether the drag was accepted.
    bool Drop(const QList<QUrl>& urls, const QString& text = {}) {
        QMimeData data;
        if (!urls.isEmpty()) data.setUrls(urls);
        if (!text.isEmpty()) data.setText(text);
        QWidget* target = Discs()->viewport();
        QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    }
    std::string OtherCatalog() {
        std::string path = home.File("other.KST");
        std::filesystem::copy_file(home.File("kest001.kst"), path);
        return path;
    }
};

TEST_F(DropOnDiscs, ACatalogFileOpensAndOthersDoNothing) {
    std::string other = OtherCatalog();
    std::string notes = home.Write("notes.txt", "x");
    std::string fake = home.Write("fake.kst", "not a catalog");
    EXPECT_FALSE(Drop({}, QStringLiteral("plain text")));
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(notes))}));
    EXPECT_EQ(window->Session().current.path, home.File("kest001.kst"));

    // Only the first of several files counts.
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(other)),
                      QUrl::fromLocalFile(QString::fromStdString(notes))}));
    prompter.VerifyDone();
    EXPECT_EQ(window->Session().current.path, other);
    EXPECT_EQ(Column0(), "1 2 ");

    // A file renamed .kst is refused by the catalog check; the open one stays.
    prompter.ExpectNotice(_, _, Icon::Critical);
    Drop({QUrl::fromLocalFile(QString::fromStdString(fake))});
    prompter.VerifyDone();
    EXPECT_EQ(window->Session().current.path, other);
}

TEST_F(DropOnDiscs, FoldersDoNothingUnlessNamedLikeACatalog) {
    std::string open = window->Session().current.path;
    std::filesystem::create_directories(home.File("pictures"));
    std::filesystem::create_directories(home.File("x.kst/sub"));
    for (const char* folder : {"pictures", "x.kst/sub"}) {
        EXPECT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(home.File(folder)))}));
        EXPECT_EQ(window->Session().current.path, open) << folder;
    }
    // A folder named like a catalog is refused by the catalog check.
    prompter.ExpectNotice(_, _, Icon::Critical);
    Drop({QUrl::fromLocalFile(QString::fromStdString(home.File("x.kst")))});
    prompter.VerifyDone();
    EXPECT_EQ(window->Session().current.path, open);
    EXPECT_EQ(Column0(), "1 2 ");
}

// Keys typed into either grid change nothing: no prompt, no change to the
// catalog or the lists, and letters do not move the current row.
TEST_F(GridActions, TypingInTheGridsChangesNothing) {
    Action("mnuContents1")->trigger();  // every file of the catalog in the results
    auto* results = Find<gui::ListGrid>("fgdResults");
    for (gui::ListGrid* grid : {Discs(), results}) {
        grid->setFocus();
        int rows = grid->model()->rowCount();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClicks(grid, "2zq *?,'\"Bb");
        EXPECT_EQ(grid->currentIndex().row(), 0);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Insert, Qt::Key_F2,
                            Qt::Key_End, Qt::Key_PageDown, Qt::Key_Home})
            QTest::keyClick(grid, key);
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(grid->model()->rowCount(), rows);
        EXPECT_EQ(grid->selectionModel()->selectedRows().size(), rows);  // Ctrl+A
    }
    prompter.VerifyDone();
    EXPECT_EQ(Column0(), "1 2 ");
    EXPECT_EQ(QueryText(window->Session().current.Db(), "SELECT COUNT(*) FROM tblFiles"), "3\n");
}

}  // namespace
}  // namespace kest::test
