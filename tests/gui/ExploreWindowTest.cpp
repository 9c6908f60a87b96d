// The Explore window driven by keyboard: the ways in from both lists, going
// into folders and archives and back (keys, tree, step buttons), file details
// and functions from the pop-up, type-ahead, sorting,
// copying, a 100,000-file folder read page by page, and a disc deleted while
// the window is open.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "core/explore/ExploreTexts.h"
#include "gui/explore/FileListModel.h"
#include "gui/explore/frmExplore.h"
#include "gui/grids/ListGrid.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

class ExploreWindow : public WindowFixture {
  protected:
    // The sample catalog's first disc gets a deeper tree and a large folder.
    void SetUp() override {
        {
            auto db = OpenSampleCatalog(home);
            db->Begin();
            db->Execute(
                "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) "
                "VALUES (1, 'docs/', 'letter.txt', 'A', 100, '2001-02-03 04:05:06'), "
                "(1, 'docs/old/', 'draft.txt', 'R', 50, NULL), "
                "(1, 'docs/it''s 100%/', 'odd.txt', '', 1, NULL)");
            auto file = db->Prepare(
                "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (1, 'big/', ?, "
                "?)");
            for (int i = 0; i < kBig; ++i) {
                file.Bind(1, "f" + std::to_string(100000 + i));
                file.Bind(2, int64_t{i});
                file.Run();
            }
            db->Commit();
        }
        std::filesystem::rename(home.File("sample.kst"), home.File("kest001.kst"));
        WriteSettings("[Positions]\nLeft=300\nTop=300\nWidth=10500\nHeight=7200\n");
        Start();
        Activate();
    }

    // Ctrl+Enter on the disc list's first row.
    gui::frmExplore* ExploreFirstDisc() {
        auto* discs = Find<gui::ListGrid>("fgdDiscs");
        discs->setFocus();
        discs->setCurrentIndex(discs->model()->index(0, 0));
        QTest::keyClick(discs, Qt::Key_Return, Qt::ControlModifier);
        auto* explore = window->findChild<gui::frmExplore*>();
        EXPECT_NE(explore, nullptr);
        if (explore) {
            explore->raise();
            QApplication::setActiveWindow(explore);
            EXPECT_TRUE(QTest::qWaitForWindowActive(explore));
        }
        return explore;
    }
    static std::string Names(gui::frmExplore& explore) {
        std::string names;
        auto* model = explore.List()->model();
        for (int row = 0; row < model->rowCount() && row < 6; ++row)
            names += model->index(row, 0).data().toString().toStdString() + " ";
        return names;
    }
    static std::string Current(gui::frmExplore& explore) {
        return explore.List()->currentIndex().data().toString().toStdString();
    }

    static constexpr int kBig = 100000;
};

TEST_F(ExploreWindow, KeysWalkFoldersAndArchivesAndBack) {
    gui::frmExplore* explore = ExploreFirstDisc();
    ASSERT_TRUE(explore);
    EXPECT_EQ(explore->windowTitle().toStdString(),
              "Explore Disc - Kest ID 1: PHOTOS (1234-ABCD) - Holiday 1999");
    QTableView* list = explore->List();
    EXPECT_EQ(Names(*explore), "big docs pics readme.txt ");
    EXPECT_EQ(explore->findChild<QLineEdit*>("txtPath")->text(), QStringLiteral("<root>"));

    // Type-ahead, Enter into the folder, Backspace back up with it selected.
    list->setFocus();
    QTest::keyClicks(list, "do");
    EXPECT_EQ(Current(*explore), "docs");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(explore->Path(), explore::FolderPath{"docs"});
    EXPECT_EQ(Names(*explore), "it's 100% old letter.txt ");
    QTest::keyClick(list, Qt::Key_Backspace);
    EXPECT_TRUE(explore->Path().empty());
    EXPECT_EQ(Current(*explore), "docs");
    QTest::keyClick(list, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(explore->Path(), explore::FolderPath{"docs"});
    QTest::keyClick(list, Qt::Key_Right, Qt::AltModifier);
    EXPECT_TRUE(explore->Path().empty());

    // The path bar; an archive opens as a folder of its entries.
    auto* path = explore->findChild<QLineEdit*>("txtPath");
    path->setFocus();
    path->setText(QStringLiteral("pics/photos.zip"));
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(explore->Path(), (explore::FolderPath{"pics", "photos.zip"}));
    EXPECT_EQ(Names(*explore), "x ");
    EXPECT_FALSE(list->isColumnHidden(gui::FileListModel::Crc));
    prompter.ExpectNotice("Explore Disc", "The disc holds no folder or archive \"nowhere\".",
                          Icon::Exclamation);
    path->setText(QStringLiteral("nowhere"));
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(path->text(), QStringLiteral("pics/photos.zip"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(explore->Path(), explore::FolderPath{"pics"});
    EXPECT_EQ(Current(*explore), "photos.zip");
    EXPECT_TRUE(list->isColumnHidden(gui::FileListModel::Crc));

    // Enter on a file shows its details; Ctrl+C copies its row.
    DialogDriver dialogs;
    dialogs.On("frmFileDetails", [](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txtName")->text(), QStringLiteral("Beach.JPG"));
        dialog.reject();
    });
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialogs.Opened("frmFileDetails"), 1);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Beach.JPG\t")));

    // A header click sorts; the folder stays first.
    list->horizontalHeader()->setSortIndicator(gui::FileListModel::Size, Qt::DescendingOrder);
    EXPECT_EQ(Names(*explore), "Beach.JPG photos.zip ");
    QTest::keyClick(explore, Qt::Key_Escape);
}

TEST_F(ExploreWindow, TheTreeTheStepButtonsAndThePopUpDoWhatTheySay) {
    gui::frmExplore* explore = ExploreFirstDisc();
    ASSERT_TRUE(explore);
    auto* back = explore->findChild<QToolButton*>("cmdBack");
    auto* forward = explore->findChild<QToolButton*>("cmdForward");
    auto* up = explore->findChild<QToolButton*>("cmdUp");
    auto* tree = explore->findChild<QTreeView*>("tvwFolders");
    ASSERT_TRUE(back && forward && up && tree);
    EXPECT_FALSE(back->isEnabled() || forward->isEnabled() || up->isEnabled());

    // Each folder chosen in the tree is a step back; the steps keep the tree in line.
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(explore->Path(), explore::FolderPath{"docs"});
    EXPECT_TRUE(back->isEnabled() && up->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(explore->Path(), explore::FolderPath{"big"});
    EXPECT_EQ(tree->currentIndex().data().toString(), QStringLiteral("big"));
    ASSERT_TRUE(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(explore->Path(), explore::FolderPath{"docs"});
    QTest::mouseClick(back, Qt::LeftButton);
    // Backspace in the tree goes up, a new step that drops the ones forward.
    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_TRUE(explore->Path().empty());
    EXPECT_EQ(Current(*explore), "big");
    EXPECT_FALSE(forward->isEnabled() || up->isEnabled());

    // The pop-up's file entries need a file row; they reach the file's windows.
    QTableView* list = explore->List();
    auto* menu = explore->findChild<QMenu*>("mnuExplorePopUp");
    ASSERT_TRUE(menu);
    auto popUpAt = [&](int row) {
        emit list->customContextMenuRequested(
            list->visualRect(list->model()->index(row, 0)).center());
        menu->close();
    };
    auto* details = menu->findChild<QAction*>("mnuExpDetails");
    auto* openFolder = menu->findChild<QAction*>("mnuExpGetFile2");
    popUpAt(0);
    EXPECT_FALSE(details->isEnabled() || openFolder->isEnabled());
    EXPECT_TRUE(menu->findChild<QAction*>("mnuExpCopy")->isEnabled());
    popUpAt(3);
    EXPECT_EQ(Current(*explore), "readme.txt");
    ASSERT_TRUE(details->isEnabled() && openFolder->isEnabled());
    DialogDriver dialogs;
    dialogs.On("frmFileDetails", [](QDialog& dialog) { dialog.reject(); });
    dialogs.On("frmFileFunc", [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Open Folder");
        dialog.reject();
    });
    details->trigger();
    openFolder->trigger();
    EXPECT_EQ(dialogs.Opened("frmFileDetails"), 1);
    EXPECT_EQ(dialogs.Opened("frmFileFunc"), 1);
    EXPECT_EQ(Current(*explore), "readme.txt");
}

TEST_F(ExploreWindow, ALargeFolderIsReadAsItScrolls) {
    gui::frmExplore* explore = ExploreFirstDisc();
    ASSERT_TRUE(explore);
    ASSERT_TRUE(explore->Go({"big"}));
    QTableView* list = explore->List();
    const int first = list->model()->rowCount();
    EXPECT_GT(first, 0);
    EXPECT_LT(first, kBig);
    list->setFocus();
    // The view asks for the next page once the events posted by the key ran.
    QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() > first; }, 5000));
    QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_LT(list->model()->rowCount(), kBig);
    EXPECT_EQ(explore->findChild<QLabel*>("lblStatus")->text().toStdString().substr(0, 38),
              "0 folders here; 100000 files and 0 fol");
}

TEST_F(ExploreWindow, TheFolderTreeReadsAFolderWhenItIsExpanded) {
    // The first window works the folders out and stores them; the next one
    // reads them a level at a time.
    QPointer<gui::frmExplore> first = ExploreFirstDisc();
    ASSERT_TRUE(first);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(first);
    gui::frmExplore* explore = ExploreFirstDisc();
    ASSERT_TRUE(explore);
    auto* tree = explore->findChild<QTreeView*>("tvwFolders");
    QAbstractItemModel* model = tree->model();
    const QModelIndex root = model->index(0, 0);
    EXPECT_TRUE(tree->isExpanded(root));
    ASSERT_EQ(model->rowCount(root), 3);
    const QModelIndex docs = model->index(1, 0, root);
    EXPECT_EQ(docs.data().toString(), QStringLiteral("docs"));
    EXPECT_TRUE(model->hasChildren(docs));
    EXPECT_EQ(model->rowCount(docs), 0);
    tree->setFocus();
    tree->setCurrentIndex(docs);
    EXPECT_EQ(explore->Path(), explore::FolderPath{"docs"});
    QTest::keyClick(tree, Qt::Key_Right);
    EXPECT_TRUE(tree->isExpanded(docs));
    ASSERT_EQ(model->rowCount(docs), 2);
    EXPECT_EQ(model->index(0, 0, docs).data().toString(), QStringLiteral("it's 100%"));
    EXPECT_EQ(model->index(1, 0, docs).data().toString(), QStringLiteral("old"));
    EXPECT_FALSE(model->hasChildren(model->index(1, 0, docs)));
}

TEST_F(ExploreWindow, ShowInFolderTreeSelectsTheFile) {
    // The disc's folders stored by an earlier window: the tree reads the
    // levels down to the file's folder.
    QPointer<gui::frmExplore> first = ExploreFirstDisc();
    ASSERT_TRUE(first);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window->ToolbarAction(2);
    auto* box = Find<QComboBox>("cboSearch");
    box->setEditText(QStringLiteral("draft*"));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    auto* results = Find<gui::ListGrid>("fgdResults");
    results->setCurrentIndex(results->model()->index(0, 0));
    Action("mnuShowInTree")->trigger();
    auto* explore = window->findChild<gui::frmExplore*>();
    ASSERT_TRUE(explore);
    EXPECT_EQ(explore->Path(), (explore::FolderPath{"docs", "old"}));
    EXPECT_EQ(Current(*explore), "draft.txt");
    auto* tree = explore->findChild<QTreeView*>("tvwFolders");
    EXPECT_EQ(tree->currentIndex().data().toString(), QStringLiteral("old"));
}

TEST_F(ExploreWindow, ADiscDeletedWhileOpenClosesTheWindow) {
    QPointer<gui::frmExplore> explore = ExploreFirstDisc();
    ASSERT_TRUE(explore);
    window->Session().current.Db().Execute("DELETE FROM tblDiscs WHERE KestId = 1");
    prompter.ExpectNotice("Explore Disc",
                          "The disc with Kest ID 1 is no longer in the catalog. Its Explore "
                          "window closes.",
                          Icon::Information);
    QApplication::setActiveWindow(window.get());
    QApplication::setActiveWindow(explore.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(explore.isNull());
}

TEST_F(ExploreWindow, EveryControlIsNamedForScreenReaders) {
    gui::frmExplore* explore = ExploreFirstDisc();
    ASSERT_TRUE(explore);
    for (QWidget* child : explore->findChildren<QWidget*>()) {
        if (child->objectName().isEmpty() || child->objectName().startsWith(QLatin1String("qt_")))
            continue;
        EXPECT_FALSE(child->accessibleName().isEmpty()) << child->objectName().toStdString();
    }
}

class ExploreScreenshots : public ExploreWindow {};

TEST_F(ExploreScreenshots, TheWindowInAFolderAndInAnArchive) {
    gui::frmExplore* explore = ExploreFirstDisc();
    ASSERT_TRUE(explore);
    explore->Go({"docs"});
    SaveDialogPicture(*explore, "explore-folder");
    explore->Go({"pics", "photos.zip", "x"});
    SaveDialogPicture(*explore, "explore-archive");
}

}  // namespace
}  // namespace kest::test
