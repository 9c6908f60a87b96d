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

struct BoundCheckCase {
    const char* name;
    SearchBounds bounds;
    std::optional<BoundBox> box;
    const char* title;
};

class CheckBoundsTest : public ::testing::TestWithParam<BoundCheckCase> {};

TEST_P(CheckBoundsTest, FirstFailureWins) {
    auto failure = CheckBounds(GetParam().bounds);
    ASSERT_EQ(failure.has_value(), GetParam().box.has_value());
    if (!failure) return;
    EXPECT_EQ(failure->box, *GetParam().box);
    EXPECT_EQ(failure->title, GetParam().title);
    bool isDate = failure->box == BoundBox::DateFrom || failure->box == BoundBox::DateTo;
    EXPECT_EQ(failure->text, isDate ? "Valid date is required!" : "Positive number is required!");
}

INSTANTIATE_TEST_SUITE_P(
    Order, CheckBoundsTest,
    ::testing::Values(
        BoundCheckCase{"allEmpty", {}, std::nullopt, ""},
        BoundCheckCase{"blanksAreEmpty", {"  ", " ", "  ", "", "", " "}, std::nullopt, ""},
        BoundCheckCase{"goodValues",
                       {"1e3", "2.5", "9/18/99", "September 18, 1999 2:32:21 PM", "0", "7.6"},
                       std::nullopt,
                       ""},
        BoundCheckCase{
            "lowerAboveUpper", {"9", "1", "1/2/2000", "1/1/2000", "5", "2"}, std::nullopt, ""},
        BoundCheckCase{"negativeSize", {"-1", "x"}, BoundBox::SizeFrom, "Size - Lower Bound Error"},
        BoundCheckCase{"textSize", {"", "ten"}, BoundBox::SizeTo, "Size - Upper Bound Error"},
        BoundCheckCase{
            "badDate", {"1", "2", "13/13/2000"}, BoundBox::DateFrom, "Date - Lower Bound Error"},
        BoundCheckCase{
            "badDateTo", {"", "", "", "yesterday"}, BoundBox::DateTo, "Date - Upper Bound Error"},
        BoundCheckCase{"negativeDisc",
                       {"", "", "", "", "-3"},
                       BoundBox::DiscFrom,
                       "KestID - Lower Bound Error"},
        BoundCheckCase{"textDisc",
                       {"", "", "", "", "", "#1"},
                       BoundBox::DiscTo,
                       "KestID - Upper Bound Error"}),
    [](const auto& info) { return std::string(info.param.name); });

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
