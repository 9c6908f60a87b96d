// The disc details and file details windows, opened from the main window's
// lists and driven through their widgets; their questions are answered
// through the scripted prompter and their changes read back from the catalog.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "gui/grids/ListGrid.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

using ::testing::_;
using ::testing::HasSubstr;

const char* const kDiscQuestion =
    "This will update the disc description in the database!\r\nDo you want to continue?";
const char* const kFileQuestion =
    "This will update the file description in the database!\r\nDo you want to continue?";

template <typename T>
T* Child(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString Box(QDialog& dialog, const char* name) {
    return Child<QLineEdit>(dialog, name)->text();
}

void TypeDescription(QDialog& dialog, const QString& text) {
    auto* box = Child<QPlainTextEdit>(dialog, "txtDesc");
    box->setFocus();
    box->setPlainText(text);
}

void Click(QDialog& dialog, const char* button) {
    Child<QPushButton>(dialog, button)->click();
}

class DetailsDialogs : public WindowFixture {
  protected:
    void SetUp() override {
        PutSampleCatalog();
        Start();
        Activate();
    }

    // What the open catalog holds.
    std::string Stored(const std::string& sql) {
        return QueryText(window->Session().current.Db(), sql);
    }

    gui::ListGrid* Grid(const char* name) { return Find<gui::ListGrid>(name); }

    // Makes a grid row (0-based data row) the current, selected one.
    void SelectRow(gui::ListGrid* grid, int row) {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(row, 0));
        grid->selectRow(row);
    }

    // Searches for everything and gives the data row showing this file name.
    int SearchAndFindRow(const QString& name) {
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        auto* search = Find<QComboBox>("cboSearch");
        search->setEditText(QStringLiteral("*"));
        QTest::keyClick(search->lineEdit(), Qt::Key_Return);
        QAbstractItemModel* model = Grid("fgdResults")->model();
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                if (model->index(row, column).data().toString() == name) return row;
        ADD_FAILURE() << "no result row shows " << name.toStdString();
        return 0;
    }

    DialogDriver dialogs;
};

TEST_F(DetailsDialogs, DiscDetailsShowsTheDiscAndStoresEachDescriptionUpdate) {
    SelectRow(Grid("fgdDiscs"), 0);
    prompter
        .ExpectMessage("Disc description update", kDiscQuestion, Icon::Information, Buttons::YesNo,
                       2, Answer::Yes)
        .ExpectNotice("Disc description update", "The update was successful.", Icon::Information)
        .ExpectMessage("Disc description update", kDiscQuestion, Icon::Information, Buttons::YesNo,
                       2, Answer::Yes)
        .ExpectNotice("Disc description update", "The update was successful.", Icon::Information);
    dialogs.On("frmDiscDetails", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Disc Details");
        EXPECT_TRUE(dialog.isModal());
        EXPECT_EQ(Box(dialog, "txtKestID"), "1");
        EXPECT_EQ(Box(dialog, "txtSer"), "1234-ABCD");
        EXPECT_EQ(Box(dialog, "txtFileSys"), "vfat");
        EXPECT_EQ(Box(dialog, "txtVolLbl"), "PHOTOS");
        EXPECT_EQ(Box(dialog, "txtNumF"), "3");
        EXPECT_EQ(Child<QPlainTextEdit>(dialog, "txtDesc")->toPlainText(), "Holiday 1999");
        EXPECT_TRUE(Child<QLineEdit>(dialog, "txtSer")->isReadOnly());
        auto* label = Child<QLabel>(dialog, "Label1");
        EXPECT_TRUE(label->text().startsWith("US "));
        EXPECT_EQ(label->toolTip(), "Total used space on the Disc");
        struct Button {
            const char* name;
            const char* caption;
            const char* toolTip;
        };
        for (const Button& b :
             {Button{"cmdDel", "&Delete Disc", "Delete this Disc from the collection"},
              Button{"cmdUpDesc", "&Update Disc Description", "Update the Disc description"},
              Button{"cmdOK", "&Close", "Close"}}) {
            auto* button = Child<QPushButton>(dialog, b.name);
            EXPECT_EQ(button->text(), b.caption);
            EXPECT_EQ(button->toolTip(), b.toolTip);
        }
        EXPECT_TRUE(Child<QPushButton>(dialog, "cmdOK")->isDefault());
        SaveDialogPicture(dialog, "frmDiscDetails");
        ExpectKeyboardComplete(dialog);

        TypeDescription(dialog, QStringLiteral("kids' games\nsecond line"));
        Click(dialog, "cmdUpDesc");
        EXPECT_EQ(Stored("SELECT DiscDesc FROM tblDiscs WHERE KestId = 1"),
                  "kids' games second line\n");
        EXPECT_TRUE(dialog.isVisible());
        TypeDescription(dialog, QStringLiteral("twice"));
        Click(dialog, "cmdUpDesc");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    Action("mnuDiscDetails")->trigger();
    EXPECT_EQ(dialogs.Opened("frmDiscDetails"), 1);
    EXPECT_EQ(Stored("SELECT DiscDesc FROM tblDiscs WHERE KestId = 1"), "twice\n");
    // The list reloaded after the window closed and shows the new description.
    QAbstractItemModel* discs = Grid("fgdDiscs")->model();
    bool shown = false;
    for (int column = 0; column < discs->columnCount(); ++column)
        shown = shown || discs->index(0, column).data().toString() == "twice";
    EXPECT_TRUE(shown);
}

TEST_F(DetailsDialogs, DeclinedOrRefusedDescriptionsLeaveTheCatalogAsItWas) {
    SelectRow(Grid("fgdDiscs"), 0);
    prompter
        .ExpectMessage("Disc description update", kDiscQuestion, Icon::Information, Buttons::YesNo,
                       2, Answer::No)
        .ExpectMessage("Disc description update", kDiscQuestion, Icon::Information, Buttons::YesNo,
                       2, Answer::Yes)
        .ExpectNotice("Error in updating description", _, Icon::Critical);
    dialogs.On("frmDiscDetails", [&](QDialog& dialog) {
        TypeDescription(dialog, QStringLiteral("declined"));
        Click(dialog, "cmdUpDesc");
        TypeDescription(dialog, QString(256, QLatin1Char('x')));
        Click(dialog, "cmdUpDesc");
        EXPECT_TRUE(dialog.isEnabled());
        Click(dialog, "cmdOK");
    });
    QTest::keyClick(Grid("fgdDiscs"), Qt::Key_Return);
    EXPECT_EQ(dialogs.Opened("frmDiscDetails"), 1);
    EXPECT_EQ(Stored("SELECT DiscDesc FROM tblDiscs WHERE KestId = 1"), "Holiday 1999\n");
}

TEST_F(DetailsDialogs, DeletingFromDiscDetailsClosesItAndReloadsTheList) {
    SelectRow(Grid("fgdDiscs"), 0);
    const std::string title = "Disc Delete (KestID=1)";
    prompter
        .ExpectMessage(title,
                       "This will delete the disc and all of its\r\ncorresponding files from the "
                       "database!\r\nDo you want to continue?",
                       Icon::Exclamation, Buttons::YesNo, 2, Answer::No)
        .ExpectMessage(title, _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice(title, "The delete was successful.", Icon::Information);
    dialogs.On("frmDiscDetails", [&](QDialog& dialog) {
        Click(dialog, "cmdDel");
        EXPECT_TRUE(dialog.isVisible());
        Click(dialog, "cmdDel");
        EXPECT_FALSE(dialog.isVisible());
    });
    Action("mnuDiscDetails")->trigger();
    EXPECT_EQ(Stored("SELECT COUNT(*) FROM tblDiscs WHERE KestId = 1"), "0\n");
    EXPECT_EQ(Stored("SELECT COUNT(*) FROM tblFiles WHERE KestId = 1"), "0\n");
    EXPECT_EQ(Grid("fgdDiscs")->model()->rowCount(), 1);
}

TEST_F(DetailsDialogs, DeletingFromThePopUpMenuAsksAndReloadsTheList) {
    SelectRow(Grid("fgdDiscs"), 1);
    const std::string title = "Disc Delete (KestID=2)";
    prompter
        .ExpectMessage(title,
                       "This will delete the disc and ALL of its\r\ncorresponding files from the "
                       "database!\r\nDo you want to continue?",
                       Icon::Exclamation, Buttons::YesNo, 2, Answer::No)
        .ExpectMessage(title, _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice(title,
                      "The delete was successful.\r\n\r\nFor optimum performance please compact "
                      "the database.",
                      Icon::Information);
    Action("mnuDelDisc")->trigger();
    EXPECT_EQ(Grid("fgdDiscs")->model()->rowCount(), 2);
    Action("mnuDelDisc")->trigger();
    EXPECT_EQ(Stored("SELECT KestId FROM tblDiscs"), "1\n");
    EXPECT_EQ(Grid("fgdDiscs")->model()->rowCount(), 1);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(DetailsDialogs, FileDetailsShowsTheFileAndUpdatesItsDescription) {
    int row = SearchAndFindRow(QStringLiteral("readme.txt"));
    SelectRow(Grid("fgdResults"), row);
    prompter
        .ExpectMessage("File description update", kFileQuestion, Icon::Information, Buttons::YesNo,
                       2, Answer::Yes)
        .ExpectNotice("File description update", "The update was successful.", Icon::Information);
    dialogs.On("frmFileDetails", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "File Details");
        EXPECT_TRUE(window->Search().detailsOpen);
        EXPECT_EQ(Box(dialog, "txtKestID"), "1");
        EXPECT_EQ(Box(dialog, "txtFileID"), "1");
        EXPECT_EQ(Box(dialog, "txtDir"), "<root>");
        EXPECT_EQ(Box(dialog, "txtName"), "readme.txt");
        EXPECT_EQ(Box(dialog, "txtAtt"), "A");
        EXPECT_EQ(Child<QLabel>(dialog, "lblSize")->text(), "Size (MB)");
        EXPECT_EQ(Child<QLabel>(dialog, "lblSize")->toolTip(), "Size of the file");
        EXPECT_EQ(Box(dialog, "txtSz"), "0.0015");
        EXPECT_EQ(Box(dialog, "txtDt"), "09/18/99 02:32:21 PM");
        EXPECT_EQ(Child<QPlainTextEdit>(dialog, "txtDesc")->toPlainText(), "first");
        EXPECT_EQ(Child<QPushButton>(dialog, "cmdDiscInfo")->text(), "&Disc Detail...");
        EXPECT_EQ(Child<QPushButton>(dialog, "cmdDiscInfo")->toolTip(), "View the Disc Details");
        EXPECT_EQ(Child<QPushButton>(dialog, "cmdUpDesc")->text(), "&Update File Description");
        SaveDialogPicture(dialog, "frmFileDetails");
        ExpectKeyboardComplete(dialog);

        TypeDescription(dialog, QStringLiteral("it's\r\nmine"));
        Click(dialog, "cmdUpDesc");
        Click(dialog, "cmdOK");
    });
    QTest::keyClick(Grid("fgdResults"), Qt::Key_Return);
    EXPECT_EQ(dialogs.Opened("frmFileDetails"), 1);
    EXPECT_FALSE(window->Search().detailsOpen);
    EXPECT_EQ(Stored("SELECT FileDesc FROM tblFiles WHERE FileId = 1"), "it's mine\n");
}

TEST_F(DetailsDialogs, ADiscDeletedFromFileDetailsClosesThemBoth) {
    int row = SearchAndFindRow(QStringLiteral("Beach.JPG"));
    SelectRow(Grid("fgdResults"), row);
    prompter.ExpectMessage("Disc Delete (KestID=1)", _, Icon::Exclamation, Buttons::YesNo, 2,
                           Answer::Yes);
    prompter.ExpectNotice("Disc Delete (KestID=1)", "The delete was successful.",
                          Icon::Information);
    bool fileDetailsOpenAfter = true;
    dialogs.On("frmDiscDetails", [&](QDialog& dialog) {
        // Centred over the main window, then 350 twips up and to the right.
        QRect main = window->frameGeometry();
        QSize size = dialog.frameGeometry().size();
        // (within the few pixels the window's final size differs from its first layout)
        EXPECT_NEAR(dialog.x(), main.left() + (main.width() - size.width()) / 2 + 23, 3);
        EXPECT_NEAR(dialog.y(), main.top() + (main.height() - size.height()) / 2 - 23, 3);
        SaveDialogPicture(dialog, "frmDiscDetails-from-file");
        Click(dialog, "cmdDel");
    });
    dialogs.On("frmFileDetails", [&](QDialog& dialog) {
        Click(dialog, "cmdDiscInfo");
        fileDetailsOpenAfter = dialog.isVisible();
    });
    Action("mnuFileDetails")->trigger();
    EXPECT_EQ(dialogs.Opened("frmDiscDetails"), 1);
    EXPECT_FALSE(fileDetailsOpenAfter);
    EXPECT_FALSE(window->Search().detailsOpen);
    EXPECT_EQ(Stored("SELECT COUNT(*) FROM tblFiles"), "0\n");
    EXPECT_EQ(Grid("fgdDiscs")->model()->rowCount(), 1);
}

TEST_F(DetailsDialogs, MultipleUpdateStoresTheTextInEverySelectedFile) {
    SearchAndFindRow(QStringLiteral("readme.txt"));
    gui::ListGrid* grid = Grid("fgdResults");
    ASSERT_GE(grid->model()->rowCount(), 3);
    // Selected from the bottom up.
    SelectRow(grid, 2);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    prompter.ExpectInput("File Description", HasSubstr("<255 character maximum>"), "bulk")
        .ExpectMessage("File Description Update", _, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes)
        .ExpectNotice("Success", "The file description update was successful.", Icon::Information);
    Action("mnuMFD")->trigger();
    EXPECT_EQ(Stored("SELECT DISTINCT FileDesc FROM tblFiles"), "bulk\n");
}

}  // namespace
}  // namespace kest::test
