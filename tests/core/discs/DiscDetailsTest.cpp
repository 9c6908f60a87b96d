#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/discs/DiscDeletion.h"
#include "core/discs/DiscDetails.h"
#include "support/discs/ViewsFixture.h"

namespace kest::discs {
namespace {

using ::testing::_;
using ::testing::HasSubstr;

constexpr const char* kUpdateQuestion =
    "This will update the disc description in the database!\r\nDo you want to continue?";
constexpr const char* kCompactHint =
    "The delete was successful.\r\n\r\nFor optimum performance please compact the database.";

class DiscDetailsTest : public test::ViewsFixture {
  protected:
    // The details of a data row (0-based) as a double click opens them.
    DiscDetails Open(size_t row) {
        return *OpenDiscDetails(list, views.listOptions, {row + 1, row + 1});
    }
    // Rows of the three tables, to compare before and after a failed deletion.
    std::string Everything() {
        return Rows("SELECT * FROM tblDiscs") + Rows("SELECT * FROM tblFiles") +
               Rows("SELECT * FROM tblSubFiles");
    }
    // Makes the engine refuse deleting the disc rows (of one disc, or of all).
    void FailDiscDeletes(const std::string& when = "1") {
        std::string sql = "CREATE TRIGGER refuse BEFORE DELETE ON tblDiscs WHEN " + when +
                          " BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END";
        ASSERT_EQ(sqlite3_exec(db->Handle(), sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
};

TEST_F(DiscDetailsTest, ShowsTheSevenValuesAndTheUsedSpaceLabel) {
    DiscDetails plain = Open(0);
    EXPECT_EQ(plain.Disc().kestId, "1");
    EXPECT_EQ(plain.Disc().serial, "1A2B-3C4D");
    EXPECT_EQ(plain.Disc().fileSystem, "CDFS");
    EXPECT_EQ(plain.Disc().label, "BACKUP_01");
    EXPECT_EQ(plain.description, "Tax papers");
    EXPECT_EQ(plain.Disc().fileCount, "6");
    EXPECT_EQ(plain.Disc().usedSpace, "");
    EXPECT_EQ(plain.UsedSpaceLabel(), "US ");
    EXPECT_EQ(plain.OffsetX(), 0);

    views.listOptions.showUsedSpace = true;
    views.listOptions.sizeFormat = 2;
    views.listOptions.sizeNumDec = 2;
    ReloadAfterDiscChange(views, prompter, false);
    DiscDetails used = Open(*FindDiscRow(list.table, "2"));
    EXPECT_EQ(used.Disc().usedSpace, "1024.02");
    EXPECT_EQ(used.UsedSpaceLabel(), "US (KB) ");
    DiscDetails fromFile(used.Disc(), "", true);
    EXPECT_EQ(fromFile.OffsetX(), 350);
    EXPECT_EQ(fromFile.OffsetY(), -350);
}

TEST_F(DiscDetailsTest, ClosingReloadsTheListOnlyAfterChanges) {
    EXPECT_FALSE(OpenDiscDetails(list, views.listOptions, {1, 0}));  // the header row
    EXPECT_EQ(OpenDiscDetails(list, views.listOptions, {1, 3})->Disc().kestId, "3");

    panel.resultCount = "Matches Found: 8";
    DiscDetails untouched = Open(0);
    untouched.Close();
    AfterDiscDetails(untouched, views, prompter);
    EXPECT_EQ(panel.resultCount, "Matches Found: 8");

    DiscDetails window = Open(1);
    for (const char* text : {"first", "second"}) {
        prompter
            .ExpectMessage("Disc description update", kUpdateQuestion, Icon::Information,
                           Buttons::YesNo, 2, Answer::Yes)
            .ExpectNotice("Disc description update", "The update was successful.",
                          Icon::Information);
        window.description = text;
        ASSERT_TRUE(window.UpdateDescription(*db, prompter));
    }
    EXPECT_EQ(window.DiscsChanged(), 2);
    EXPECT_EQ(list.table.Cell(1, 4), "Holiday");
    window.Close();
    AfterDiscDetails(window, views, prompter);
    EXPECT_EQ(list.table.Cell(1, 4), "second");
    EXPECT_EQ(panel.resultCount, "Matches Found: ---");
}

TEST_F(DiscDetailsTest, DescriptionUpdatesStoreTheTextOnOneLine) {
    const std::string longest(255, 'x');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"kids' games", "kids' games"},
        {"two\r\nlines", "two lines"},
        {"unix\nbreak\rand cr", "unix break and cr"},
        {"tab\there \"quoted\"", "tab\there \"quoted\""},
        {" ", " "},
        {"Fotos von Jürgen – 日本", "Fotos von Jürgen – 日本"},
        {std::string(255, 'x'), longest},
        {std::string(254, 'e') + "é", std::string(254, 'e') + "é"},
    };
    DiscDetails window = Open(0);
    int changes = 0;
    for (const auto& [typed, stored] : cases) {
        SCOPED_TRACE(typed.substr(0, 20));
        prompter
            .ExpectMessage("Disc description update", kUpdateQuestion, Icon::Information,
                           Buttons::YesNo, 2, Answer::Yes)
            .ExpectNotice("Disc description update", "The update was successful.",
                          Icon::Information);
        window.description = typed;
        EXPECT_TRUE(window.UpdateDescription(*db, prompter));
        EXPECT_EQ(Rows("SELECT DiscDesc FROM tblDiscs WHERE KestId = 1"), stored + "\n");
        EXPECT_EQ(window.DiscsChanged(), ++changes);
        EXPECT_FALSE(window.Closed());
    }
}

TEST_F(DiscDetailsTest, RefusedOrDeclinedUpdatesChangeNothing) {
    DiscDetails window = Open(0);
    window.description = std::string(256, 'x');
    prompter
        .ExpectMessage("Disc description update", kUpdateQuestion, Icon::Information,
                       Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Error in updating description", _, Icon::Critical);
    EXPECT_FALSE(window.UpdateDescription(*db, prompter));
    prompter.ExpectMessage("Disc description update", kUpdateQuestion, Icon::Information,
                           Buttons::YesNo, 2, Answer::No);
    window.description = "never";
    EXPECT_FALSE(window.UpdateDescription(*db, prompter));
    EXPECT_EQ(Rows("SELECT DiscDesc FROM tblDiscs WHERE KestId = 1"), "Tax papers\n");
    EXPECT_EQ(window.DiscsChanged(), 0);

    // A KestId that is no number never reaches a statement.
    SelectedDisc injected;
    injected.kestId = "1 OR 1=1";
    DiscDetails odd(injected, "", false);
    prompter
        .ExpectMessage("Disc description update", kUpdateQuestion, Icon::Information,
                       Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Error in updating description", "3061\r\nToo few parameters. Expected 1.",
                      Icon::Critical);
    EXPECT_FALSE(odd.UpdateDescription(*db, prompter));
    EXPECT_EQ(Rows("SELECT DISTINCT DiscDesc FROM tblDiscs WHERE DiscDesc = ''"), "\n");
}

TEST_F(DiscDetailsTest, DeletingFromTheWindowRemovesTheDiscAndClosesIt) {
    DiscDetails window = Open(0);
    prompter.ExpectMessage("Disc Delete (KestID=1)", _, Icon::Exclamation, Buttons::YesNo, 2,
                           Answer::No);
    EXPECT_FALSE(window.Delete(*db, prompter));
    EXPECT_EQ(Count("tblDiscs"), 3);
    prompter
        .ExpectMessage("Disc Delete (KestID=1)",
                       "This will delete the disc and all of its\r\ncorresponding files from the "
                       "database!\r\nDo you want to continue?",
                       Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Disc Delete (KestID=1)", "The delete was successful.", Icon::Information);
    EXPECT_TRUE(window.Delete(*db, prompter));
    EXPECT_TRUE(window.Closed());
    EXPECT_TRUE(window.DiscDeleted());
    EXPECT_EQ(window.DiscsChanged(), 1);
    EXPECT_EQ(Rows("SELECT KestId FROM tblDiscs"), "2\n3\n");
    EXPECT_EQ(Rows("SELECT DISTINCT KestId FROM tblFiles"), "2\n");
    EXPECT_EQ(Count("tblSubFiles"), 0);
}

TEST_F(DiscDetailsTest, DeletingFromThePopUpReloadsTheListAndEmptiesTheResults) {
    panel.resultCount = "Matches Found: 8";
    panel.status1 = "Search time: 0 s";
    panel.status2 = "something";
    prompter
        .ExpectMessage("Disc Delete (KestID=2)",
                       "This will delete the disc and ALL of its\r\ncorresponding files from the "
                       "database!\r\nDo you want to continue?",
                       Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Disc Delete (KestID=2)", kCompactHint, Icon::Information);
    EXPECT_EQ(DeleteDiscFromMenu(views, "2", prompter), DeleteOutcome::Deleted);
    EXPECT_EQ(test::ColumnCells(list.table, 0), (test::Texts{"1", "3"}));
    EXPECT_EQ(list.summary, "2 discs (6 files) in kest001.kst database.");
    EXPECT_EQ(panel.resultCount, "Matches Found: ---");
    EXPECT_EQ(panel.status1, "");
    EXPECT_EQ(panel.status2, "");
    EXPECT_EQ(panel.results.RowCount(), 1u);
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM tblFiles WHERE KestId = 2"), "0\n");
}

TEST_F(DiscDetailsTest, DeletingSeveralDiscsListsTheirIdsInTheQuestion) {
    prompter.ExpectMessage("Disc(s) Deletion", _, Icon::Exclamation, Buttons::YesNo, 2,
                           Answer::Cancel);
    EXPECT_EQ(DeleteSelectedDiscs(views, {3, 1}, prompter), DeleteOutcome::Declined);
    prompter
        .ExpectMessage("Disc(s) Deletion",
                       "This will delete the Disc(s) with Kest Id:\r\n3,1\r\nand ALL of the "
                       "corresponding files from the database!\r\n \r\nDo you want to continue?",
                       Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Disc delete successful", kCompactHint, Icon::Information);
    EXPECT_EQ(DeleteSelectedDiscs(views, {3, 1}, prompter), DeleteOutcome::Deleted);
    EXPECT_EQ(Rows("SELECT KestId FROM tblDiscs"), "2\n");
    EXPECT_EQ(Rows("SELECT DISTINCT KestId FROM tblFiles"), "2\n");
    EXPECT_EQ(list.summary, "1 disc (2 files) in kest001.kst database.");
}

TEST_F(DiscDetailsTest, AFailureInsideTheDeletionLeavesTheCatalogAsItWas) {
    const std::string before = Everything();
    FailDiscDeletes();
    prompter.ExpectMessage(_, _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Error in deleting Disc", HasSubstr("disk is full"), Icon::Critical);
    EXPECT_EQ(DeleteDiscFromMenu(views, "1", prompter), DeleteOutcome::Failed);
    EXPECT_EQ(Everything(), before);

    // Several discs are one unit too: the second disc's failure keeps the first.
    ASSERT_EQ(sqlite3_exec(db->Handle(), "DROP TRIGGER refuse", nullptr, nullptr, nullptr),
              SQLITE_OK);
    FailDiscDeletes("old.KestId = 2");
    prompter.ExpectMessage(_, _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Error in deleting Disc", _, Icon::Critical);
    EXPECT_EQ(DeleteSelectedDiscs(views, {1, 2}, prompter), DeleteOutcome::Failed);
    EXPECT_EQ(Everything(), before);

    DiscDetails window = Open(1);
    prompter.ExpectMessage(_, _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Error in deleting Disc", _, Icon::Critical);
    EXPECT_FALSE(window.Delete(*db, prompter));
    EXPECT_FALSE(window.Closed());
    EXPECT_FALSE(window.DiscDeleted());
    EXPECT_EQ(Everything(), before);
}

TEST_F(DiscDetailsTest, AReadOnlyCatalogRefusesTheDeletionWhole) {
    const std::string before = Everything();
    ASSERT_EQ(sqlite3_exec(db->Handle(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr),
              SQLITE_OK);
    prompter.ExpectMessage(_, _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("Error in deleting Disc", _, Icon::Critical);
    EXPECT_EQ(DeleteDiscFromMenu(views, "1", prompter), DeleteOutcome::Failed);
    EXPECT_EQ(Everything(), before);
}

TEST_F(DiscDetailsTest, IdsThatAreNoNumbersDeleteNothing) {
    const std::string before = Everything();
    for (const char* id : {"abc", "1 OR 1=1", "", "1;DELETE FROM tblFiles"}) {
        SCOPED_TRACE(id);
        prompter.ExpectMessage(_, _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
            .ExpectNotice("Error in deleting Disc", "3061\r\nToo few parameters. Expected 1.",
                          Icon::Critical);
        EXPECT_EQ(DeleteDiscFromMenu(views, id, prompter), DeleteOutcome::Failed);
    }
    for (const char* id : {"-5", "99999999999999999999"}) {
        prompter.ExpectMessage(_, _, Icon::Exclamation, Buttons::YesNo, 2, Answer::Yes)
            .ExpectNotice(_, kCompactHint, Icon::Information);
        EXPECT_EQ(DeleteDiscFromMenu(views, id, prompter), DeleteOutcome::Deleted);
    }
    EXPECT_EQ(Everything(), before);
}

}  // namespace
}  // namespace kest::discs
