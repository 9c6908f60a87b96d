#include <gtest/gtest.h>

#include "core/discs/DiscList.h"
#include "core/discs/DiscSelection.h"
#include "core/search/SearchOptions.h"
#include "core/search/SearchPanel.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/search/SearchFixture.h"

namespace kest::discs {
namespace {

std::vector<std::string> Row(const ListTable& table, size_t row) {
    std::vector<std::string> out;
    for (size_t c = 0; c < table.ColumnCount(); ++c) out.emplace_back(table.Cell(row, c));
    return out;
}

class DiscListFixture : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    DiscList list;
    DiscListOptions options;
};

TEST_F(DiscListFixture, StatementsByUsedSpaceAndUnit) {
    EXPECT_EQ(DiscListStatement(options),
              "SELECT tblDiscs.KestID AS [Kest ID ], tblDiscs.DiscSer AS [Disc Serial # ], "
              "tblDiscs.DiscFSys AS [Disc File System ], tblDiscs.DiscLbl AS [Disc Vol Label ], "
              "tblDiscs.DiscDesc AS [Disc Description ], tblDiscs.DiscNumF AS [# of Files ] "
              "FROM tblDiscs");
    options.showUsedSpace = true;
    const std::string head =
        "SELECT tblDiscs.KestId AS [Kest ID ], tblDiscs.DiscSer AS [Disc Serial # ], "
        "tblDiscs.DiscFSys AS [Disc File System ], tblDiscs.DiscLbl AS [Disc Vol Label ], "
        "tblDiscs.DiscDesc AS [Disc Description ], tblDiscs.DiscNumF AS [# of Files ], ";
    const std::string tail =
        "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId "
        "GROUP BY tblDiscs.KestId, tblDiscs.DiscSer, tblDiscs.DiscFSys, tblDiscs.DiscLbl, "
        "tblDiscs.DiscDesc, tblDiscs.DiscNumF;";
    EXPECT_EQ(
        DiscListStatement(options),
        head + "FORMAT((SUM(tblFiles.FileSize))/1048576,'0.0000') AS [Used Space (MB) ] " + tail);
    options.sizeFormat = 2;
    options.sizeNumDec = 0;
    EXPECT_EQ(DiscListStatement(options),
              head + "FORMAT((SUM(tblFiles.FileSize))/1024,'0') AS [Used Space (KB) ] " + tail);
    options.sizeFormat = 3;
    EXPECT_EQ(DiscListStatement(options),
              head + "SUM(tblFiles.FileSize) AS [Used Space ( B) ] " + tail);
}

TEST_F(DiscListFixture, ReloadsListSummaryAndTitle) {
    auto db = test::MakeSearchCatalog(dir);
    options.columnWidths = {930, 1000, 1000, 1000, 1000, 1000};
    ASSERT_TRUE(ReloadDiscList(*db, list, options, "kest001.kst", "/data/kest001.kst", prompter));
    ASSERT_EQ(list.table.RowCount(), 3u);
    EXPECT_EQ(Row(list.table, 0),
              (std::vector<std::string>{"1", "1A2B-3C4D", "CDFS", "BACKUP_01", "Tax papers", "6"}));
    EXPECT_EQ(list.table.Column(0).header, "Kest ID ");
    EXPECT_EQ(list.table.Column(5).tag, 5);
    EXPECT_EQ(list.table.Column(0).width, 930);
    EXPECT_EQ(list.summary, "3 discs (8 files) in kest001.kst database.");
    EXPECT_EQ(list.windowTitle, "Kest - /data/kest001.kst");

    options.showUsedSpace = true;
    options.sizeFormat = 2;
    options.sizeNumDec = 2;
    ASSERT_TRUE(ReloadDiscList(*db, list, options, "kest001.kst", "/data/kest001.kst", prompter));
    ASSERT_EQ(list.table.RowCount(), 2u);  // the disc without files drops out
    EXPECT_EQ(list.discCount, 3);
    EXPECT_EQ(list.table.Column(6).header, "Used Space (KB) ");
    EXPECT_EQ(list.table.Column(6).alignment, Alignment::Right);
    EXPECT_EQ(Row(list.table, 1).back(), "1024.02");
    EXPECT_EQ(list.summary, "3 discs (8 files) in kest001.kst database.");

    ClickDiscHeader(list.table, 6);  // 1024.02 before 3080.49, by value
    EXPECT_EQ(list.table.Cell(0, 0), "2");
    ClickDiscHeader(list.table, 6);
    EXPECT_EQ(list.table.Cell(0, 0), "1");
    EXPECT_EQ(list.table.Column(6).header, "Used Space (KB) v");
}

TEST_F(DiscListFixture, EmptyCatalogEmptiesTheResults) {
    auto db = engine::Database::Open(test::MakeCatalogFile(dir), "");
    search::SearchPanel panel;
    search::SearchOptions searchOptions;
    panel.results.Reset({ListColumn{"stale"}});
    panel.results.AddCell("x");
    options.programCaption = kCaptionFileName;
    ASSERT_TRUE(ReloadDiscList(*db, list, options, "kest001.kst", "/d/kest001.kst", prompter,
                               &panel, &searchOptions));
    EXPECT_EQ(list.summary, "0 discs (0 files) in kest001.kst database.");
    EXPECT_EQ(list.windowTitle, "Kest - kest001.kst");
    EXPECT_EQ(panel.results.Column(0).header, "Kest ID ");
    EXPECT_EQ(panel.results.RowCount(), 1u);
    EXPECT_EQ(DiscSummary(1, 1, "kest001.kst"), "1 disc (1 file) in kest001.kst database.");
    EXPECT_EQ(WindowTitle(0, "a", "b"), "Kest");
    EXPECT_EQ(WindowTitle(7, "a", "/b"), "Kest - /b");
}

TEST_F(DiscListFixture, ErrorsKeepTheList) {
    auto db = test::MakeSearchCatalog(dir);
    ASSERT_TRUE(ReloadDiscList(*db, list, options, "k.kst", "/k.kst", prompter));
    db->Execute("DROP TABLE tblDiscs");
    prompter.ExpectNotice("Error in updating Discs", ::testing::HasSubstr("\r\n"), Icon::Critical);
    EXPECT_FALSE(ReloadDiscList(*db, list, options, "k.kst", "/k.kst", prompter));
    EXPECT_EQ(list.table.RowCount(), 3u);
}

TEST(DiscSelection, DeleteKeyTakesTheRowsInOrder) {
    ListTable table = test::MakeTable({{"Kest ID "}}, {"4", "9", "12", "15", "21", "30"});
    EXPECT_EQ(DeleteKeyIds(table, {5, 3}), (std::vector<int64_t>{12, 15, 21}));
    EXPECT_EQ(DeleteKeyIds(table, {2, 2}), (std::vector<int64_t>{9}));
    EXPECT_EQ(search::SelectAllRows(table)->rowSel, 6u);

    DiscMenu menu = RightClickDiscs(table, {2, 4}, 3);
    EXPECT_TRUE(menu.click.show);
    EXPECT_TRUE(menu.multipleDelete);
    EXPECT_FALSE(menu.details || menu.contents || menu.deleteDisc);
    menu = RightClickDiscs(table, {2, 4}, 6);  // outside: that row alone
    EXPECT_EQ(menu.click.selection.row, 6u);
    EXPECT_EQ(menu.click.selection.rowSel, 6u);
    EXPECT_TRUE(menu.details && menu.contents && menu.deleteDisc);
    EXPECT_EQ(menu.click.kestId, "30");
    EXPECT_FALSE(RightClickDiscs(table, {2, 2}, 0).click.show);
    ListTable empty;
    EXPECT_FALSE(RightClickDiscs(empty, {1, 1}, 1).click.show);
    EXPECT_FALSE(search::SelectAllRows(empty));
}

TEST(DiscSelection, OnlyCatalogFilesAreDropped) {
    for (const char* path : {"/home/ann/backup.KST", "/home/ann/kest001.kst"})
        EXPECT_TRUE(IsCatalogDrop(path)) << path;
    for (const char* path : {"/home/ann/notes.txt", "/home/ann/x.kst/sub", "kst"})
        EXPECT_FALSE(IsCatalogDrop(path)) << path;
}

}  // namespace
}  // namespace kest::discs
