#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/details/FileDetailsWindow.h"
#include "core/details/MultipleDescriptionUpdate.h"
#include "core/search/SearchCommand.h"
#include "support/discs/ViewsFixture.h"
#include "support/search/RecordingSearchView.h"

namespace kest::details {
namespace {

using ::testing::_;
using ::testing::HasSubstr;

constexpr const char* kSingleQuestion =
    "This will update the file description in the database!\r\nDo you want to continue?";
constexpr const char* kInputPrompt =
    "Enter the file description.\r\n(Enter a space to clear the description.)\r\n\r\n\r\n"
    "<255 character maximum>";

class FileDetailsTest : public test::ViewsFixture {
  protected:
    // Every file (with subfiles: one row per entry) in the results.
    void SearchAll(bool subfiles = false) {
        views.searchOptions.searchSub = subfiles;
        ASSERT_TRUE(search::RunSearch(*db, panel, views.searchOptions, "*", prompter, searchView));
    }
    std::optional<FileDetailsRecord> Look(const std::string& kestId, const std::string& fileId) {
        return LookUpFileDetails(*db, kestId, fileId, views.listOptions, prompter);
    }
    std::string Description(int fileId) {
        return Rows("SELECT FileDesc FROM tblFiles WHERE FileId = " + std::to_string(fileId));
    }
    // The description cell shown for a file in the results.
    std::string ShownDescription(const std::string& fileId) {
        for (size_t r = 0; r < panel.results.RowCount(); ++r)
            if (panel.results.Cell(r, 1) == fileId)
                for (size_t c = 0; c < panel.results.ColumnCount(); ++c)
                    if (panel.results.Column(c).tag == 11)
                        return std::string(panel.results.Cell(r, c));
        return "<none>";
    }
    void ExpectSingleUpdate() {
        prompter
            .ExpectMessage("File description update", kSingleQuestion, Icon::Information,
                           Buttons::YesNo, 2, Answer::Yes)
            .ExpectNotice("File description update", "The update was successful.",
                          Icon::Information);
    }

    test::RecordingSearchView searchView;
};

TEST_F(FileDetailsTest, LookUpFindsDiscAndFileOrSaysWhichIsMissing) {
    auto found = Look("1", "2");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->disc.label, "BACKUP_01");
    EXPECT_EQ(found->disc.description, "Tax papers");
    EXPECT_EQ(found->disc.fileCount, "6");
    EXPECT_EQ(found->disc.usedSpace, "");
    EXPECT_EQ(found->file.name, "O'Brien.doc");
    EXPECT_EQ(found->file.dir, "<root>");
    EXPECT_EQ(found->file.size, "2048");
    EXPECT_EQ(found->file.description, "letter");
    EXPECT_EQ(Look("1", "1")->file.description, "");

    struct Case {
        const char *kestId, *fileId, *title, *text;
    };
    for (const Case& c : {
             Case{"9", "1", "Kest", "No record with KestID=9"},
             Case{"1", "99", "Kest", "No record with FileID=99"},
             Case{"1", "-3", "Kest", "No record with FileID=-3"},
             Case{"1", "99999999999999999999", "Kest",
                  "No record with FileID=99999999999999999999"},
             Case{"x", "1", "Results DblClick Error", "3061\r\nToo few parameters. Expected 1."},
             Case{"1", "1 OR 1=1", "Results DblClick Error",
                  "3061\r\nToo few parameters. Expected 1."},
         }) {
        SCOPED_TRACE(std::string(c.kestId) + "/" + c.fileId);
        prompter.ExpectNotice(c.title, c.text, c.title[0] == 'K' ? Icon::None : Icon::Critical);
        EXPECT_FALSE(Look(c.kestId, c.fileId));
    }

    // By FileId alone the disc is the file's.
    EXPECT_EQ(LookUpFileDetails(*db, "7", views.listOptions, prompter)->disc.label, "PHOTOS");
    prompter.ExpectNotice("Kest", "No record with FileID=70", Icon::None);
    EXPECT_FALSE(LookUpFileDetails(*db, "70", views.listOptions, prompter));
}

TEST_F(FileDetailsTest, ResultRowsOpenTheirFileAndTheHeaderNothing) {
    SearchAll();
    auto found = LookUpResultsRow(*db, panel.results, {3, 1}, views.listOptions, prompter);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->file.fileId, std::string(panel.results.Cell(0, 1)));
    EXPECT_FALSE(LookUpResultsRow(*db, panel.results, {1, 0}, views.listOptions, prompter));
    ListTable blank = test::MakeTable({{"Kest ID ", 0}, {"FileId", -1}}, {" ", ""});
    EXPECT_FALSE(LookUpResultsRow(*db, blank, {1, 1}, views.listOptions, prompter));
}

TEST_F(FileDetailsTest, UsedSpaceFollowsTheDiscListUnit) {
    views.listOptions.showUsedSpace = true;
    EXPECT_EQ(Look("2", "7")->disc.usedSpace, "1.0000");
    views.listOptions.sizeFormat = 3;
    EXPECT_EQ(Look("2", "7")->disc.usedSpace, "1048596");
}

TEST_F(FileDetailsTest, SizeAndDateShowInTheUnitsOfTheLastSearch) {
    struct Case {
        int sizeFormat, sizeNumDec;
        const char *label, *size;
    };
    for (const Case& c : {Case{1, 4, "Size (MB)", "0.0015"}, Case{2, 2, "Size (KB)", "1.50"},
                          Case{3, 0, "Size (B )", "1536"}, Case{7, 1, "Size (MB)", "0.0"}}) {
        panel.snapshot = {c.sizeFormat, c.sizeNumDec, "mm/dd/yyyy hh:nn:ss"};
        FileDetailsWindow window(*Look("1", "1"), views);
        EXPECT_EQ(window.SizeLabel(), c.label);
        EXPECT_EQ(window.SizeText(), c.size);
        EXPECT_EQ(window.DateText(), "09/18/1999 14:32:21");
    }
}

TEST_F(FileDetailsTest, TheSearchWaitsWhileTheWindowIsOpen) {
    {
        FileDetailsWindow window(*Look("1", "1"), views);
        EXPECT_TRUE(panel.detailsOpen);
        EXPECT_EQ(search::SearchCommand(*db, panel, views.searchOptions, 3, prompter, searchView),
                  search::SearchOutcome::Ignored);
        window.Close();
        EXPECT_FALSE(panel.detailsOpen);
        panel.detailsOpen = true;
    }
    EXPECT_FALSE(panel.detailsOpen);  // unloading allows it again
}

TEST_F(FileDetailsTest, SingleUpdateStoresOneLineAndRefreshesTheResults) {
    views.searchOptions.refreshImmediately = true;
    SearchAll();
    FileDetailsWindow window(*Look("1", "2"), views);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"kids' games", "kids' games"},
        {"two\r\nlines\nhere", "two lines here"},
        {"\"quoted\"\tand tab", "\"quoted\"\tand tab"},
        {" ", " "},
        {"Ærø – 東京", "Ærø – 東京"},
        {std::string(255, 'z'), std::string(255, 'z')},
    };
    int64_t updates = 0;
    for (const auto& [typed, stored] : cases) {
        SCOPED_TRACE(typed.substr(0, 20));
        ExpectSingleUpdate();
        window.description = typed;
        EXPECT_TRUE(window.UpdateDescription(prompter));
        EXPECT_EQ(Description(2), stored + "\n");
        EXPECT_EQ(ShownDescription("2"), stored);
        EXPECT_EQ(window.File().updates, ++updates);
    }
    prompter
        .ExpectMessage("File description update", kSingleQuestion, Icon::Information,
                       Buttons::YesNo, 2, Answer::Yes)
        .ExpectNotice("File description update", _, Icon::Critical);
    window.description = std::string(256, 'z');
    EXPECT_FALSE(window.UpdateDescription(prompter));
    prompter.ExpectMessage("File description update", kSingleQuestion, Icon::Information,
                           Buttons::YesNo, 2, Answer::No);
    window.description = "declined";
    EXPECT_FALSE(window.UpdateDescription(prompter));
    EXPECT_EQ(Description(2), std::string(255, 'z') + "\n");
    EXPECT_EQ(window.File().updates, updates);
}

TEST_F(FileDetailsTest, ResultsStayWithoutRefResultsImmOrTheDescriptionColumn) {
    SearchAll();
    {
        FileDetailsWindow window(*Look("1", "2"), views);
        ExpectSingleUpdate();
        window.description = "new";
        EXPECT_TRUE(window.UpdateDescription(prompter));
        EXPECT_EQ(ShownDescription("2"), "letter");
    }
    views.searchOptions.refreshImmediately = true;
    views.searchOptions.showCol[11] = 0;
    SearchAll();
    FileDetailsWindow window(*Look("1", "2"), views);
    ExpectSingleUpdate();
    window.description = "newer";
    EXPECT_TRUE(window.UpdateDescription(prompter));
    EXPECT_EQ(ShownDescription("2"), "<none>");
    EXPECT_EQ(Description(2), "newer\n");
}

TEST_F(FileDetailsTest, DiscDetailsFromTheFileWindowReloadAndCloseOnDeletion) {
    views.searchOptions.refreshImmediately = true;
    SearchAll();
    FileDetailsWindow window(*Look("2", "7"), views);
    discs::DiscDetails unchanged = window.DiscInfo();
    EXPECT_EQ(unchanged.OffsetX(), 350);
    window.AfterDiscInfo(unchanged, prompter);
    EXPECT_FALSE(window.Closed());

    discs::DiscDetails disc = window.DiscInfo();
    prompter
        .ExpectMessage("Disc Delete (KestID=2)", _, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes)
        .ExpectNotice("Disc Delete (KestID=2)", "The delete was successful.", Icon::Information);
    ASSERT_TRUE(disc.Delete(*db, prompter));
    window.AfterDiscInfo(disc, prompter);
    EXPECT_TRUE(window.Closed());
    EXPECT_FALSE(panel.detailsOpen);
    EXPECT_EQ(list.summary, "2 discs (6 files) in kest001.kst database.");
    EXPECT_EQ(panel.resultCount, "Matches Found: 6");
    EXPECT_EQ(ShownDescription("7"), "<none>");
}

TEST_F(FileDetailsTest, MultipleUpdateTakesEachSelectedFileOnce) {
    views.searchOptions.refreshImmediately = true;
    SearchAll(true);
    // The archive's two entries give it two rows; select upwards over all rows.
    size_t last = panel.results.RowCount();
    ASSERT_EQ(last, 9u);
    EXPECT_EQ(SelectedFileIds(panel.results, {last, 1}), SelectedFileIds(panel.results, {1, last}));
    EXPECT_EQ(SelectedFileIds(panel.results, {last, 1}).size(), 8u);

    prompter.ExpectInput("File Description", kInputPrompt, std::nullopt);
    EXPECT_EQ(MultipleFileDescriptionUpdate(views, {last, 1}, prompter),
              MultipleUpdateOutcome::Cancelled);
    prompter.ExpectInput("File Description", kInputPrompt, "");
    EXPECT_EQ(MultipleFileDescriptionUpdate(views, {last, 1}, prompter),
              MultipleUpdateOutcome::Cancelled);
    prompter.ExpectInput("File Description", kInputPrompt, "x")
        .ExpectMessage("File Description Update",
                       "This will update the description for ALL the selected files.\r\n \r\n"
                       "Do you want to continue?",
                       Icon::Exclamation, Buttons::YesNo, 2, Answer::No);
    EXPECT_EQ(MultipleFileDescriptionUpdate(views, {last, 1}, prompter),
              MultipleUpdateOutcome::Declined);
    EXPECT_EQ(MultipleFileDescriptionUpdate(views, {2, 2}, prompter),
              MultipleUpdateOutcome::NotOffered);

    prompter.ExpectInput("File Description", kInputPrompt, "Bob's backup")
        .ExpectMessage("File Description Update", _, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes)
        .ExpectNotice("Success", "The file description update was successful.", Icon::Information);
    // Rows 1 and 2 are the archive's; a selection from row 3 leaves it out.
    ASSERT_EQ(panel.results.Cell(0, 1), panel.results.Cell(1, 1));
    EXPECT_EQ(MultipleFileDescriptionUpdate(views, {last, 3}, prompter),
              MultipleUpdateOutcome::Updated);
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM tblFiles WHERE FileDesc = 'Bob''s backup'"), "7\n");
    EXPECT_EQ(Description(6), "\n");
    EXPECT_EQ(ShownDescription(std::string(panel.results.Cell(last - 1, 1))), "Bob's backup");
}

TEST(SelectedFileIdsTest, ComparesIdsAsNumbers) {
    auto rows = test::MakeTable({{"Kest ID ", 0}, {"FileId", -1}},
                                {"1", "7", "1", "07", "1", " 7", "", "", "2", "8", "2", "7"});
    EXPECT_EQ(SelectedFileIds(rows, {6, 1}), (std::vector<int64_t>{7, 8}));
    EXPECT_EQ(SelectedFileIds(rows, {9, 5}), (std::vector<int64_t>{8, 7}));
}

TEST_F(FileDetailsTest, ARefusedMultipleUpdateChangesNoFile) {
    SearchAll();
    const std::string before = Rows("SELECT FileDesc FROM tblFiles");
    prompter.ExpectInput("File Description", kInputPrompt, std::string(256, 'q'))
        .ExpectMessage("File Description Update", _, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes)
        .ExpectNotice("MFD Menu Error", _, Icon::Critical);
    EXPECT_EQ(MultipleFileDescriptionUpdate(views, {1, 8}, prompter),
              MultipleUpdateOutcome::Failed);
    EXPECT_EQ(Rows("SELECT FileDesc FROM tblFiles"), before);

    // The engine refuses the second file only: the first file's change goes too.
    std::vector<int64_t> ids = SelectedFileIds(panel.results, {1, 8});
    ASSERT_GE(ids.size(), 2u);
    sqlite3_exec(db->Handle(),
                 ("CREATE TRIGGER refuse_second BEFORE UPDATE OF FileDesc ON tblFiles WHEN "
                  "NEW.FileId = " +
                  std::to_string(ids[1]) + " BEGIN SELECT RAISE(ABORT, 'disk gave up'); END")
                     .c_str(),
                 nullptr, nullptr, nullptr);
    prompter.ExpectInput("File Description", kInputPrompt, "half done")
        .ExpectMessage("File Description Update", _, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes)
        .ExpectNotice("MFD Menu Error", HasSubstr("disk gave up"), Icon::Critical);
    EXPECT_EQ(MultipleFileDescriptionUpdate(views, {1, 8}, prompter),
              MultipleUpdateOutcome::Failed);
    EXPECT_EQ(Rows("SELECT FileDesc FROM tblFiles"), before);
    sqlite3_exec(db->Handle(), "DROP TRIGGER refuse_second", nullptr, nullptr, nullptr);

    prompter.ExpectInput("File Description", kInputPrompt, " ")
        .ExpectMessage("File Description Update", _, Icon::Exclamation, Buttons::YesNo, 2,
                       Answer::Yes)
        .ExpectNotice("Success", _, Icon::Information);
    EXPECT_EQ(MultipleFileDescriptionUpdate(views, {1, 2}, prompter),
              MultipleUpdateOutcome::Updated);
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM tblFiles WHERE FileDesc = ' '"), "2\n");
}

}  // namespace
}  // namespace kest::details
