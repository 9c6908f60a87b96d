// The results list's pop-up menu: which entries serve one row and which
// several, where it does not show at all, and that its entries open their
// windows for the rows the right click selected.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "gui/app/ResultsMenu.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

using ::testing::_;
using ::testing::HasSubstr;

class ResultsMenu : public WindowFixture {
  protected:
    void SetUp() override {
        PutSampleCatalog();
        Start();
        Activate();
        window->ToolbarAction(2);
    }
    gui::ListGrid* Results() { return Find<gui::ListGrid>("fgdResults"); }
    void Search(const char* text) {
        auto* box = Find<QComboBox>("cboSearch");
        box->setEditText(QString::fromLatin1(text));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }
    // Right-clicks a data row (0-based; -1 below the rows); whether the menu showed.
    bool RightClick(int row) {
        int y =
            row < 0 ? Results()->viewport()->height() - 2 : Results()->rowViewportPosition(row) + 2;
        window->Parts().results->ShowMenu(QPoint(5, y));
        bool shown = window->Menus().mnuPopUp2->isVisible();
        window->Menus().mnuPopUp2->hide();
        return shown;
    }
    // An entry's name (a sub-menu's is its menu's).
    static std::string Name(const QAction* entry) {
        return (entry->menu() ? entry->menu()->objectName() : entry->objectName()).toStdString();
    }
    // The entries of the menu that are enabled, by name.
    std::string Enabled() {
        std::string names;
        for (QAction* entry : window->Menus().mnuPopUp2->actions())
            if (!entry->isSeparator() && entry->isEnabled()) names += Name(entry) + " ";
        return names;
    }
    std::vector<int> SelectedRows() {
        std::vector<int> rows;
        for (const QModelIndex& index : Results()->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    DialogDriver dialogs;
};

TEST_F(ResultsMenu, ListsItsEntriesInOrder) {
    std::string names;
    for (QAction* entry : window->Menus().mnuPopUp2->actions())
        names += entry->isSeparator() ? "| " : Name(entry) + " ";
    EXPECT_EQ(
        names,
        "mnuFileDetails mnuShowInTree mnuGetFile1 mnuGetFile2 mnuGetFile3 mnuMFD | mnuSave3 ");
    EXPECT_EQ(window->Menus().mnuSave3->title(), "Save Results List As...");
}

TEST_F(ResultsMenu, OneRowOffersTheFileEntriesAndOpensItsDetails) {
    Search("*");
    ASSERT_EQ(Results()->model()->rowCount(), 3);
    ASSERT_TRUE(RightClick(1));
    EXPECT_EQ(Enabled(),
              "mnuFileDetails mnuShowInTree mnuGetFile1 mnuGetFile2 mnuGetFile3 mnuSave3 ");
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    // The file identifier is a hidden column of the list.
    QString fileId = QString::fromUtf8(window->Search().results.Cell(1, 1));
    dialogs.On("frmFileDetails", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("txtFileID"))->text(), fileId);
        dialog.reject();
    });
    window->Menus().mnuFileDetails->trigger();
    EXPECT_EQ(dialogs.Opened("frmFileDetails"), 1);

    dialogs.On("frmFileFunc", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Explore Folder");
        dialog.reject();
    });
    window->Menus().mnuGetFile[2]->trigger();
    EXPECT_EQ(dialogs.Opened("frmFileFunc"), 1);
    // The multiple update is off for one row: its entry does nothing.
    window->Menus().mnuMFD->trigger();
}

TEST_F(ResultsMenu, SeveralRowsOfferOnlyTheMultipleUpdateOverThem) {
    Search("*");
    Results()->setFocus();
    Results()->selectAll();
    ASSERT_TRUE(RightClick(2));
    EXPECT_EQ(Enabled(), "mnuMFD mnuSave3 ");
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1, 2}));
    prompter.ExpectInput("File Description", HasSubstr("<255 character maximum>"), "all three")
        .ExpectMessage("File Description Update", _, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes)
        .ExpectNotice("Success", "The file description update was successful.", Icon::Information);
    window->Menus().mnuMFD->trigger();
    prompter.VerifyDone();
    EXPECT_EQ(QueryText(window->Session().current.Db(), "SELECT DISTINCT FileDesc FROM tblFiles"),
              "all three\n");
    // The single-file entries are off: they open nothing.
    window->Menus().mnuFileDetails->trigger();
    EXPECT_EQ(dialogs.Opened("frmFileDetails"), 0);

    // A click outside the selection selects that row alone.
    Results()->selectionModel()->clearSelection();
    Results()->selectRow(0);
    QTest::keyClick(Results(), Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_TRUE(RightClick(2));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(Enabled(),
              "mnuFileDetails mnuShowInTree mnuGetFile1 mnuGetFile2 mnuGetFile3 mnuSave3 ");
}

TEST_F(ResultsMenu, ShowsNothingWithoutAResultRow) {
    // Before a search the grid holds one blank row: no identifier, no menu.
    EXPECT_FALSE(RightClick(0));
    Search("*.jpg");
    ASSERT_EQ(Results()->model()->rowCount(), 1);
    EXPECT_FALSE(RightClick(-1));  // below the last row
    prompter.ExpectNotice("Search results", "No Records found with specified criteria.",
                          Icon::Information);
    Search("nothing-like-this");
    prompter.VerifyDone();
    EXPECT_FALSE(RightClick(0));
}

}  // namespace
}  // namespace kest::test
