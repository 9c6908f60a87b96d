#include <gtest/gtest.h>

#include "core/search/CriteriaCheck.h"
#include "core/search/SearchHistory.h"
#include "core/search/SearchText.h"

namespace kest::search {
namespace {

TEST(SearchText, Normalises) {
    EXPECT_EQ(NormaliseSearchText("a , ,b"), "a,b");
    EXPECT_EQ(NormaliseSearchText("  abc ,DEF ,abc"), "abc,DEF,abc");
    EXPECT_EQ(NormaliseSearchText(" , ,, "), "");
    EXPECT_EQ(NormaliseSearchText("'quo\"te', [x], #1, 50%, a_b"), "'quo\"te',[x],#1,50%,a_b");
    std::string longText(5000, 'x');
    EXPECT_EQ(NormaliseSearchText(" " + longText + " "), longText);
}

TEST(SearchHistory, MostRecentFirstWithoutCaseDuplicates) {
    SearchHistory history({"old"});
    EXPECT_TRUE(history.Add("new"));
    EXPECT_FALSE(history.Add("NEW"));
    EXPECT_FALSE(history.Add("Old"));
    EXPECT_TRUE(history.Add("ÄRGER"));
    EXPECT_FALSE(history.Add("ärger"));
    EXPECT_EQ(history.Items(), (std::vector<std::string>{"ÄRGER", "new", "old"}));
    for (int i = 0; i < 20; ++i) history.Add("item" + std::to_string(i));
    EXPECT_EQ(history.Items().size(), 23u);
    ASSERT_EQ(history.SavedItems().size(), kSavedHistoryItems);
    EXPECT_EQ(history.SavedItems().front(), "item19");
}

TEST(CheckBounds, BlankAndWellFormedBoundsPassInAnyOrder) {
    for (const SearchBounds& bounds :
         {SearchBounds{}, SearchBounds{"  ", " ", "  ", "", "", " "},
          SearchBounds{"1e3", "2.5", "9/18/99", "September 18, 1999 2:32:21 PM", "0", "7.6"},
          SearchBounds{"9", "1", "1/2/2000", "1/1/2000", "5", "2"}}) {
        EXPECT_FALSE(CheckBounds(bounds)) << bounds.sizeFrom << " " << bounds.dateFrom;
    }
}

TEST(CheckBounds, FirstFailureWins) {
    struct Case {
        SearchBounds bounds;
        BoundBox box;
        const char* title;
    };
    for (const Case& c :
         {Case{{"-1", "x"}, BoundBox::SizeFrom, "Size - Lower Bound Error"},
          Case{{"", "ten"}, BoundBox::SizeTo, "Size - Upper Bound Error"},
          Case{{"1", "2", "13/13/2000"}, BoundBox::DateFrom, "Date - Lower Bound Error"},
          Case{{"", "", "", "yesterday"}, BoundBox::DateTo, "Date - Upper Bound Error"},
          Case{{"", "", "", "", "-3"}, BoundBox::DiscFrom, "KestID - Lower Bound Error"},
          Case{{"", "", "", "", "", "#1"}, BoundBox::DiscTo, "KestID - Upper Bound Error"}}) {
        auto failure = CheckBounds(c.bounds);
        ASSERT_TRUE(failure) << c.title;
        EXPECT_EQ(failure->box, c.box);
        EXPECT_EQ(failure->title, c.title);
        bool isDate = c.box == BoundBox::DateFrom || c.box == BoundBox::DateTo;
        EXPECT_EQ(failure->text,
                  isDate ? "Valid date is required!" : "Positive number is required!");
    }
}

TEST(CriteriaTexts, ToolTipsWidthsAndCaptions) {
    EXPECT_EQ(SizeFromToolTip(2), "Lower bound of size in KB");
    EXPECT_EQ(SizeToToolTip(3), "Upper bound of size in B");
    EXPECT_EQ(SizeToToolTip(1), "Upper bound of size in MB");
    EXPECT_EQ(SizeFromToolTip(0), "Lower bound of size in MB");
    EXPECT_EQ(MinimumWindowWidth(true), 8625);
    EXPECT_EQ(MinimumWindowWidth(false), 5865);
    EXPECT_TRUE(IsAdvancedCaption(AdvancedCaption(true)));
    EXPECT_FALSE(IsAdvancedCaption(AdvancedCaption(false)));
    EXPECT_EQ(AdvancedCaption(false), ">> &Advanced");
}

}  // namespace
}  // namespace kest::search
