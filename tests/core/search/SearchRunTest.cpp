#include <gtest/gtest.h>

#include "core/search/SearchCommand.h"
#include "core/search/SortGrid.h"
#include "support/ScriptedPrompter.h"
#include "support/search/RecordingSearchView.h"
#include "support/search/SearchFixture.h"

namespace kest::search {
namespace {

using test::Texts;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class SearchRun : public ::testing::Test {
  protected:
    void SetUp() override { db = test::MakeSearchCatalog(dir); }
    // Records what each redraw shows from here on.
    void WatchDisplay() {
        view.calls.clear();
        view.panel = &panel;
        view.prompter = &prompter;
    }

    Texts Column(size_t column) const { return test::ColumnCells(panel.results, column); }
    SearchOutcome Search(const std::string& text) {
        panel.searchText = text;
        return SearchCommand(*db, panel, options, 3, prompter, view);
    }

    test::TempDir dir;
    std::unique_ptr<engine::Database> db;
    SearchPanel panel;
    SearchOptions options;
    test::ScriptedPrompter prompter;
    test::RecordingSearchView view;
};

TEST_F(SearchRun, FillsTheResultsWithTagsCountAndHistory) {
    EXPECT_EQ(Search(" readme , "), SearchOutcome::Ran);
    EXPECT_EQ(panel.searchText, "readme");
    EXPECT_EQ(panel.history.Items(), Texts{"readme"});
    EXPECT_EQ(test::Headers(panel.results),
              (Texts{"Kest ID ", "FileId", "File Directory ", "File Name ", "File Size (MB) "}));
    EXPECT_EQ(Column(3), (Texts{"readme.txt", "README.TXT"}));
    EXPECT_EQ(Column(4), (Texts{"0.0015", "0.0000"}));
    EXPECT_EQ(panel.results.Column(1).tag, -1);
    EXPECT_EQ(panel.results.Column(1).width, 0);
    EXPECT_EQ(panel.results.Column(4).tag, 9);
    EXPECT_EQ(panel.results.Column(4).alignment, Alignment::Right);
    EXPECT_EQ(panel.matchCount, 2);
    EXPECT_EQ(panel.resultCount, "Matches Found: 2");
    EXPECT_THAT(panel.status1, StartsWith("Search time: "));
    EXPECT_EQ(panel.focus, SearchFocus::Results);
    // The search controls are disabled while it runs and enabled after it.
    EXPECT_EQ(view.calls, (Texts{"hourglass", "show", "busy", "show", "show", "idle", "pointer"}));
}

// What the user sees while a search runs and before each message box: the
// hourglass, "Matches Found: ---" while it runs, then the count, time or
// error line already shown when the message comes.
TEST_F(SearchRun, TheWindowShowsEachStepBeforeAnyMessage) {
    panel.resultCount = "Matches Found: 2";
    WatchDisplay();
    prompter.ExpectNotice("Search results", "No Records found with specified criteria.",
                          Icon::Information);
    Search("nothing-matches-this");
    EXPECT_EQ(view.calls[0], "hourglass");
    EXPECT_EQ(view.calls[1], "show Matches Found: 2 |  after 0 prompts");
    EXPECT_EQ(view.calls[2], "busy");
    EXPECT_EQ(view.calls[3], "show Matches Found: --- |  after 0 prompts");
    EXPECT_THAT(view.calls[4], StartsWith("show Matches Found: 0 | Search time: "));
    EXPECT_THAT(view.calls[4], ::testing::EndsWith(" after 0 prompts"));
    EXPECT_EQ(Texts(view.calls.begin() + 5, view.calls.end()), (Texts{"idle", "pointer"}));

    WatchDisplay();
    db->Execute("DROP TABLE tblSubFiles");
    options.searchSub = true;
    prompter.ExpectNotice("SQL query error", HasSubstr("\r\n"), Icon::Critical);
    Search("x");
    EXPECT_THAT(view.calls.at(4), StartsWith("show Matches Found: --- | Error #"));
    EXPECT_THAT(view.calls.at(4), ::testing::EndsWith(" after 1 prompts"));
    EXPECT_EQ(view.calls.back(), "pointer");

    // The contents of a disc: the view switches, then shows the count before
    // the message about an empty disc.
    WatchDisplay();
    options.searchSub = false;
    prompter.ExpectNotice("Search results", "No Records found with this criteria.",
                          Icon::Information);
    ShowContents(*db, panel, options, std::string("3"), prompter, view);
    ASSERT_GE(view.calls.size(), 3u);
    EXPECT_EQ(view.calls[1], "hourglass");
    EXPECT_EQ(view.calls[2], "show Matches Found: --- |  after 2 prompts");
    EXPECT_EQ(view.calls[3], "search view");
    EXPECT_THAT(view.calls[4], StartsWith("show Matches Found: 0 | Search time: "));
    EXPECT_THAT(view.calls[4], ::testing::EndsWith(" after 2 prompts"));
    EXPECT_EQ(view.calls.back(), "pointer");
}

TEST_F(SearchRun, RefusesBeforeSearching) {
    prompter.ExpectNotice("Database warning", "No Disc(s) in database!", Icon::Information);
    panel.searchText = "x";
    EXPECT_EQ(SearchCommand(*db, panel, options, 0, prompter, view), SearchOutcome::NoDiscs);
    prompter.ExpectNotice("Null search input", "No search parameters!", Icon::Information);
    EXPECT_EQ(Search(" , ,, "), SearchOutcome::NoText);
    EXPECT_EQ(panel.searchText, "");
    panel.detailsOpen = true;
    EXPECT_EQ(Search("x"), SearchOutcome::Ignored);
    panel.detailsOpen = false;

    options.advanced = true;
    panel.bounds.dateTo = "not a date";
    prompter.ExpectNotice("Date - Upper Bound Error", "Valid date is required!", Icon::Critical);
    EXPECT_EQ(Search("x"), SearchOutcome::BadBound);
    EXPECT_EQ(panel.focus, SearchFocus::Bound);
    EXPECT_EQ(panel.focusBox, BoundBox::DateTo);
    EXPECT_TRUE(panel.history.Items().empty());
}

TEST_F(SearchRun, BoundsNarrowTheSearch) {
    options.advanced = true;
    options.sizeFormat = kSizeKilobytes;
    panel.bounds = {"1", "2", "", "", "", "1.4"};
    Search("*");
    EXPECT_EQ(Column(3), (Texts{"O'Brien.doc", "readme.txt"}));
    EXPECT_EQ(panel.bounds.discTo, "1");
    panel.bounds = {"", "", "1/1/2003", "12/31/2005", "2", ""};
    Search("*");
    EXPECT_EQ(Column(3), (Texts{"beach.jpg", "README.TXT"}));
}

TEST_F(SearchRun, AwkwardTextsRunAsLiterals) {
    for (auto [text, found] :
         {std::pair{"O'Brien", "O'Brien.doc"}, std::pair{"50%", "report_50%.txt"},
          std::pair{"_50", "report_50%.txt"}}) {
        Search(text);
        EXPECT_EQ(Column(3), Texts{found}) << text;
    }
}

TEST_F(SearchRun, NoMatchLeavesOneBlankRow) {
    prompter.ExpectNotice("Search results", "No Records found with specified criteria.",
                          Icon::Information);
    Search(std::string(300, 'q') + ",\"x\"");
    EXPECT_EQ(prompter.Pending(), 0u);
    EXPECT_EQ(panel.matchCount, 0);
    EXPECT_EQ(panel.resultCount, "Matches Found: 0");
    ASSERT_EQ(panel.results.RowCount(), 1u);
    EXPECT_EQ(panel.results.Cell(0, 0), "");
    EXPECT_EQ(panel.focus, SearchFocus::SearchBox);
}

TEST_F(SearchRun, SubFilesJoinWhenAsked) {
    options.searchSub = true;
    options.inSubComment = true;
    options.showSubCol = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0};
    Search("entry");
    EXPECT_EQ(test::Headers(panel.results),
              (Texts{"Kest ID ", "FileId", "File Directory ", "File Name ", "File Size (MB) ",
                     "SubFile Name ", "SubFile Date ", "SubSortDate ", "SubFile Encrypted "}));
    ASSERT_EQ(panel.matchCount, 1);
    EXPECT_EQ(panel.results.Cell(0, 5), "inner.txt");
    EXPECT_EQ(panel.results.Cell(0, 7), "20010203040506");
    EXPECT_EQ(panel.results.Cell(0, 8), "Yes");
    EXPECT_EQ(panel.results.Column(7).tag, kSubSortDateTag);
}

TEST_F(SearchRun, DateColumnSortsByTime) {
    options.showCol[10] = 1;
    options.dateFormat = "dd mmm yyyy";
    Search("*.txt");
    ASSERT_EQ(panel.results.Column(5).header, "File Date ");
    ClickResultsHeader(panel.results, 5);
    EXPECT_EQ(Column(3), (Texts{"report_50%.txt", "readme.txt", "notes #1.txt", "README.TXT"}));
    EXPECT_EQ(panel.results.Cell(0, 5), "30 Jun 1998");
    ClickResultsHeader(panel.results, 5);
    EXPECT_EQ(Column(3).front(), "README.TXT");
    EXPECT_EQ(panel.results.Column(5).header, "File Date v");
}

TEST_F(SearchRun, EngineErrorsAbortWithTheirNumber) {
    db->Execute("DROP TABLE tblSubFiles");
    options.searchSub = true;
    prompter.ExpectNotice("SQL query error", HasSubstr("\r\n"), Icon::Critical);
    Search("x");
    EXPECT_THAT(panel.status1, StartsWith("Error #"));
    EXPECT_THAT(panel.status1, HasSubstr(" while searching. See Help>Content>Errors"));
    EXPECT_EQ(panel.resultCount, kNoMatchCount);

    options.searchSub = false;
    options.advanced = true;
    panel.bounds.discFrom = "1e12";
    prompter.ExpectNotice("SQL query error", "6\r\nOverflow", Icon::Critical);
    Search("x");
    EXPECT_EQ(panel.status1, "Error #6 while searching. See Help>Content>Errors");
}

// The window sees the rows arrive while a long list fills and may stop it:
// the rows read so far stay, in order, the count says "(aborted)", no error
// box comes, and the status says the search stopped. Unstopped, the same
// search fills completely.
TEST_F(SearchRun, AFillTheViewStopsKeepsTheRowsReadSoFar) {
    db->Begin();
    for (int i = 0; i < 3000; ++i)
        db->Execute(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (2, 'd/', "
            "'many " +
            std::to_string(10000 + i) + "', 1)");
    db->Commit();
    Search("many*");
    EXPECT_EQ(panel.resultCount, "Matches Found: 3000");
    ASSERT_GT(view.arrivals, 10) << "the fill is seen arriving now and then";

    view.stopOnceRows = 1000;
    WatchDisplay();
    EXPECT_EQ(Search("many*"), SearchOutcome::Failed);
    const Texts names = Column(3);
    ASSERT_EQ(names.size(), view.rowsAtStop);
    ASSERT_GE(names.size(), 1000u);
    ASSERT_LT(names.size(), 3000u);
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(names[i], "many " + std::to_string(10000 + i));
    EXPECT_EQ(panel.resultCount, "Matches Found: " + std::to_string(names.size()) + " (aborted)");
    EXPECT_EQ(panel.status1, "Search stopped");
    EXPECT_EQ(panel.focus, SearchFocus::Results);
    prompter.VerifyDone();
    EXPECT_EQ(view.calls.back(), "pointer");
    // The engine's check went with the fill: a statement without a view runs to its end.
    ASSERT_TRUE(RefreshResults(*db, panel, options, prompter));
    EXPECT_EQ(panel.resultCount, "Matches Found: 3000");
}

TEST_F(SearchRun, ContentsOfOneDiscAndOfTheCatalog) {
    options.advanced = true;
    ShowContents(*db, panel, options, std::string("2"), prompter, view);
    EXPECT_EQ(Column(3), (Texts{"beach.jpg", "README.TXT"}));
    EXPECT_EQ(panel.searchText, "*");
    EXPECT_EQ(panel.bounds.discFrom, "2");
    EXPECT_EQ(panel.bounds.discTo, "2");
    // The criteria put back list the same disc again.
    Search(panel.searchText);
    EXPECT_EQ(Column(3), (Texts{"beach.jpg", "README.TXT"}));

    ShowContents(*db, panel, options, std::nullopt, prompter, view);
    EXPECT_EQ(panel.matchCount, 8);
    EXPECT_EQ(panel.resultCount, "Matches Found: 8");
    EXPECT_EQ(panel.bounds.discFrom, "");

    prompter.ExpectNotice("Search results", "No Records found with this criteria.",
                          Icon::Information);
    options.advanced = false;
    ShowContents(*db, panel, options, std::string("3"), prompter, view);
    EXPECT_EQ(panel.searchText, "");
    EXPECT_EQ(panel.results.RowCount(), 1u);
}

TEST_F(SearchRun, ClearAllResetsAndMayEmptyTheHistory) {
    Search("readme");
    panel.results.Column(3).width = 2222;
    prompter.ExpectMessage("Clear search list?",
                           "Would you also like to clear the drop-down search list?",
                           Icon::Question, Buttons::YesNo, 2, Answer::No);
    WatchDisplay();
    ClearAll(panel, options, prompter, view);
    // The emptied count shows before the question.
    EXPECT_EQ(view.calls, (Texts{"busy", "show Matches Found: --- |  after 0 prompts", "idle"}));
    EXPECT_EQ(panel.widths.file[7], 2222);
    EXPECT_EQ(panel.resultCount, kNoMatchCount);
    EXPECT_EQ(panel.history.Items().size(), 1u);
    EXPECT_EQ(panel.results.Column(0).header, "Kest ID ");
    prompter.ExpectMessage("Clear search list?", ::testing::_, Icon::Question, Buttons::YesNo, 2,
                           Answer::Yes);
    ClearAll(panel, options, prompter, view);
    EXPECT_TRUE(panel.history.Items().empty());
}

}  // namespace
}  // namespace kest::search
