// Pictures of both views over the sample catalog, saved into the build
// folder for a look (screenshots/, "@2x" when run at double scale).
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <filesystem>

#include "DialogDriver.h"
#include "WindowFixture.h"
#include "core/text/NameBytes.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

class Screenshots : public WindowFixture {};

TEST_F(Screenshots, BothViewsOverTheSampleCatalog) {
    PutSampleCatalog();
    WriteSettings("[Positions]\nLeft=300\nTop=300\nWidth=10500\nHeight=7200\n");
    Start();
    Activate();
    SaveScreenshot("discs-view");
    auto* fileMenu = Find<QMenu>("mnuFile");
    fileMenu->popup(window->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fileMenu));
    SaveDialogPicture(*fileMenu, "file-menu");
    fileMenu->hide();

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    auto* search = Find<QComboBox>("cboSearch");
    search->setEditText(QStringLiteral("*"));
    QTest::keyClick(search->lineEdit(), Qt::Key_Return);
    EXPECT_GT(window->Search().results.RowCount(), 0u);
    SaveScreenshot("search-view");
}

// A result of twenty thousand rows with the date and description columns,
// sorted by size: the grid, its markers and the count as the user sees them.
TEST_F(Screenshots, SearchViewWithALargeResult) {
    constexpr int kFiles = 20000;
    {
        auto db = OpenSampleCatalog(home);
        db->Begin();
        auto file = db->Prepare(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate, "
            "FileDesc) VALUES (?, ?, ?, 'A', ?, ?, ?)");
        for (int i = 0; i < kFiles; ++i) {
            file.Bind(1, int64_t{1} + i % 2);
            file.Bind(2, "Pictures/" + std::to_string(1998 + i % 6) + "/Trip " +
                             std::to_string(i % 40) + "/");
            file.Bind(3, "Photo_" + std::to_string(10000 + i) + (i % 7 ? ".jpg" : ".JPG"));
            file.Bind(4, int64_t{1} + (int64_t{i} * 7919) % 5000000);
            file.Bind(5, "200" + std::to_string(i % 6) + "-0" + std::to_string(1 + i % 9) + "-1" +
                             std::to_string(i % 10) + " 1" + std::to_string(i % 10) + ":2" +
                             std::to_string(i % 10) + ":00");
            file.Bind(6, i % 5 ? std::string() : "Holiday picture " + std::to_string(i));
            file.Run();
            file.Reset();
        }
        db->Commit();
    }
    std::filesystem::rename(home.File("sample.kst"), home.File("kest001.kst"));
    WriteSettings(
        "[Positions]\nLeft=300\nTop=300\nWidth=12000\nHeight=7200\n"
        "[Results_Columns]\nShowCol10=1\nShowCol11=1\n");
    Start();
    Activate();
    window->ToolbarAction(2);
    auto* search = Find<QComboBox>("cboSearch");
    search->setEditText(QStringLiteral("photo*"));
    QTest::keyClick(search->lineEdit(), Qt::Key_Return);
    ASSERT_GE(window->Search().results.RowCount(), size_t{kFiles});
    auto* grid = Find<gui::ListGrid>("fgdResults");
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (grid->model()->headerData(c, Qt::Horizontal).toString().startsWith("File Size"))
            emit grid->horizontalHeader()->sectionClicked(c);
    grid->scrollToTop();
    SaveScreenshot("search-view-large");
}

// A name that is not UTF-8 shows its stray bytes as \xHH in the grid.
TEST_F(Screenshots, NamesThatAreNotUtf8ShowTheirBytes) {
    {
        auto db = OpenSampleCatalog(home);
        std::string name;
        text::EscapeNameBytes("caf\xE9 cr\xE8me.txt", name);
        db->Execute("UPDATE tblFiles SET FileName = '" + name + "' WHERE FileId = 1");
    }
    std::filesystem::rename(home.File("sample.kst"), home.File("kest001.kst"));
    WriteSettings("[Positions]\nLeft=300\nTop=300\nWidth=10500\nHeight=7200\n");
    Start();
    Activate();
    window->ToolbarAction(2);
    auto* search = Find<QComboBox>("cboSearch");
    search->setEditText(QStringLiteral("caf*"));
    QTest::keyClick(search->lineEdit(), Qt::Key_Return);
    auto* grid = Find<gui::ListGrid>("fgdResults");
    ASSERT_GE(grid->model()->rowCount(), 1);
    bool shown = false;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        shown = shown || grid->model()->index(0, c).data().toString() ==
                             QStringLiteral("caf\\xE9 cr\\xE8me.txt");
    EXPECT_TRUE(shown);
    SaveScreenshot("escaped-name");
}

}  // namespace
}  // namespace kest::test
