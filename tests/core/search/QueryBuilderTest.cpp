#include <gtest/gtest.h>

#include "core/common/KestError.h"
#include "core/search/QueryBuilder.h"
#include "core/search/SqlText.h"

namespace kest::search {
namespace {

SearchOptions NameAndDir() {
    SearchOptions options;
    options.inFileName = true;
    options.inDirectory = true;
    return options;
}

std::string Where(const std::string& text, const SearchOptions& options) {
    SearchBounds bounds;
    return BuildWhere(text, bounds, options);
}

TEST(SqlText, EscapesAndQuotes) {
    EXPECT_EQ(SqlEscape("O'Brien"), "O''Brien");
    EXPECT_EQ(SqlEscape("O''Brien"), "O''Brien");
    EXPECT_EQ(SqlEscape("'''"), "''''");
    EXPECT_EQ(SqlEscape("a'b'c'"), "a''b''c''");
    EXPECT_EQ(SqlQuote("x"), "'x'");
    EXPECT_EQ(SqlQuote(""), "''");
    EXPECT_EQ(SqlNumber(1536), "1536");
    EXPECT_EQ(SqlNumber(104857.6), "104857.6");
}

TEST(BuildWhere, ExampleOfTwoTermsInTwoFields) {
    EXPECT_EQ(Where("abc,x", NameAndDir()),
              "WHERE ((((tblFiles.FileName LIKE '*abc*') OR (tblFiles.FileName LIKE '*x*')) OR "
              "((tblFiles.FileDir LIKE '*abc*') OR (tblFiles.FileDir LIKE '*x*'))))");
}

TEST(BuildWhere, ConnectorAndAsterisks) {
    SearchOptions options;
    options.logicalOp = 2;
    options.autoAsterisks = false;
    EXPECT_EQ(Where("a*,b?", options),
              "WHERE ((((tblFiles.FileName LIKE 'a*') AND (tblFiles.FileName LIKE 'b?'))))");
    options.logicalOp = 7;  // anything but 2 joins with OR
    EXPECT_EQ(Where("a", options), "WHERE ((((tblFiles.FileName LIKE 'a'))))");
}

TEST(BuildWhere, RepeatedEntriesAndQuotes) {
    SearchOptions options;
    EXPECT_EQ(Where("abc,DEF,abc", options),
              "WHERE ((((tblFiles.FileName LIKE '*abc*') OR (tblFiles.FileName LIKE '*DEF*') OR "
              "(tblFiles.FileName LIKE '*abc*'))))");
    EXPECT_EQ(Where("O'Brien", options), "WHERE ((((tblFiles.FileName LIKE '*O''Brien*'))))");
}

TEST(BuildWhere, EveryFieldGroupInOrder) {
    SearchOptions options;
    options.inDirectory = options.inFileDescription = true;
    options.inSubFileName = options.inSubDirectory = options.inSubComment = true;
    const std::string files =
        "WHERE ((((tblFiles.FileName LIKE '*q*')) OR ((tblFiles.FileDir LIKE '*q*')) OR "
        "((tblFiles.FileDesc LIKE '*q*'))";
    EXPECT_EQ(Where("q", options), files + "))");  // subfile fields need SearchSub
    options.searchSub = true;
    EXPECT_EQ(Where("q", options), files +
                                       " OR ((tblSubFiles.SubFileName LIKE '*q*')) OR "
                                       "((tblSubFiles.SubFileDir LIKE '*q*')) OR "
                                       "((tblSubFiles.SubFileComm LIKE '*q*'))))");
    options.inFileName = options.inDirectory = options.inFileDescription = false;
    options.inSubFileName = options.inSubDirectory = false;
    EXPECT_EQ(Where("q", options), "WHERE ((((tblSubFiles.SubFileComm LIKE '*q*'))))");
}

struct BoundCase {
    const char* name;
    SearchBounds bounds;
    int sizeFormat;
    const char* conditions;
};

class BuildWhereBounds : public ::testing::TestWithParam<BoundCase> {};

TEST_P(BuildWhereBounds, AddsTheConditions) {
    SearchOptions options;
    options.advanced = true;
    options.sizeFormat = GetParam().sizeFormat;
    SearchBounds bounds = GetParam().bounds;
    EXPECT_EQ(
        BuildWhere("a", bounds, options),
        std::string("WHERE ((((tblFiles.FileName LIKE '*a*')))") + GetParam().conditions + ")");
}

INSTANTIATE_TEST_SUITE_P(
    Branches, BuildWhereBounds,
    ::testing::Values(
        BoundCase{"none", {}, 1, ""},
        BoundCase{
            "sizeBothMB", {"1", "2.5"}, 1, " AND (tblFiles.FileSize BETWEEN 1048576 AND 2621440)"},
        BoundCase{"sizeFromKB", {"1.5", ""}, 2, " AND (tblFiles.FileSize >= 1536)"},
        BoundCase{"sizeToBytes", {"", "1e3"}, 3, " AND (tblFiles.FileSize <= 1000)"},
        BoundCase{"sizeOtherUnit", {"", "1"}, 9, " AND (tblFiles.FileSize <= 1048576)"},
        BoundCase{"dateBoth",
                  {"", "", "9/18/1999", "2000-01-02 13:05:09"},
                  1,
                  " AND (tblFiles.FileDate BETWEEN #9/18/99 00:00:00# AND #1/2/00 13:05:09#)"},
        BoundCase{"dateFromLong",
                  {"", "", "September 18, 1999 2:32:21 PM", ""},
                  1,
                  " AND (tblFiles.FileDate >= #9/18/99 14:32:21#)"},
        BoundCase{"dateTo",
                  {"", "", "", "12/31/2029"},
                  1,
                  " AND (tblFiles.FileDate <= #12/31/29 00:00:00#)"},
        BoundCase{
            "discBoth", {"", "", "", "", "2", "5"}, 1, " AND (tblFiles.KestID BETWEEN 2 AND 5)"},
        BoundCase{"discFrom", {"", "", "", "", "3", ""}, 1, " AND (tblFiles.KestID >= 3)"},
        BoundCase{"discTo", {"", "", "", "", "", "7.6"}, 1, " AND (tblFiles.KestID <= 8)"},
        BoundCase{"lowerAboveUpper",
                  {"9", "1", "", "", "9", "1"},
                  3,
                  " AND (tblFiles.FileSize BETWEEN 9 AND 1) AND (tblFiles.KestID BETWEEN 9 AND 1)"},
        BoundCase{"allThree",
                  {"1", "", "", "1/1/01", "", "4"},
                  2,
                  " AND (tblFiles.FileSize >= 1024) AND (tblFiles.FileDate <= #1/1/01 00:00:00#)"
                  " AND (tblFiles.KestID <= 4)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BuildWhere, RoundsAndWritesBackTheDiscBounds) {
    SearchOptions options;
    options.advanced = true;
    SearchBounds bounds{"", "", "", "", "2.5", "7.6"};
    EXPECT_EQ(BuildWhere("a", bounds, options),
              "WHERE ((((tblFiles.FileName LIKE '*a*'))) AND (tblFiles.KestID BETWEEN 2 AND 8))");
    EXPECT_EQ(bounds.discFrom, "2");  // halves go to the even neighbour
    EXPECT_EQ(bounds.discTo, "8");
}

TEST(BuildWhere, IgnoresBoundsWithThePanelClosed) {
    SearchOptions options;
    SearchBounds bounds{"junk", "", "not a date", "", "9e99", ""};
    EXPECT_EQ(BuildWhere("a", bounds, options), "WHERE ((((tblFiles.FileName LIKE '*a*'))))");
    EXPECT_EQ(bounds.discFrom, "9e99");
}

TEST(BuildWhere, RaisesForBoundsItCannotUse) {
    SearchOptions options;
    options.advanced = true;
    SearchBounds huge{"", "", "", "", "9e99", ""};
    try {
        BuildWhere("a", huge, options);
        FAIL();
    } catch (const KestError& e) {
        EXPECT_EQ(e.Number(), err::kOverflow);
    }
    SearchBounds notDate{"", "", "31/31/2000", "", "", ""};
    EXPECT_THROW(BuildWhere("a", notDate, options), KestError);
}

TEST(BuildSelectList, DefaultColumns) {
    EXPECT_EQ(BuildSelectList(SearchOptions{}),
              "SELECT tblFiles.KestId AS [Kest ID ], tblFiles.FileId AS [FileId], "
              "tblFiles.FileDir AS [File Directory ], tblFiles.FileName AS [File Name ],  "
              "FORMAT((tblFiles.FileSize)/1048576,'0.0000') AS [File Size (MB) ]"
              "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId ");
}

TEST(BuildSelectList, EveryFileColumn) {
    SearchOptions options;
    options.showCol.fill(1);
    options.sizeFormat = 2;
    options.sizeNumDec = 2;
    options.dateFormat = "yyyy-mm-dd";
    EXPECT_EQ(BuildSelectList(options),
              "SELECT tblFiles.KestId AS [Kest ID ], tblFiles.FileId AS [FileId], "
              "tblDiscs.DiscSer AS [Disc Serial # ], tblDiscs.DiscFSys AS [Disc File System ], "
              "tblDiscs.DiscLbl AS [Disc Vol Label ], tblDiscs.DiscDesc AS [Disc Description ], "
              "tblDiscs.DiscNumF AS [# of Files ], tblFiles.FileDir AS [File Directory ], "
              "tblFiles.FileName AS [File Name ], tblFiles.FileAtt AS [File Attributes ],  "
              "FORMAT((tblFiles.FileSize)/1024,'0.00') AS [File Size (KB) ],  "
              "FORMAT(tblFiles.FileDate,'yyyy-mm-dd') AS [File Date ], "
              "FORMAT(tblFiles.FileDate,'YYYYMMDDHHNNSS') AS [SortDate ], "
              "tblFiles.FileDesc AS [File Description ]"
              "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId ");
}

TEST(BuildSelectList, SizeUnitsAndDecimals) {
    SearchOptions options;
    options.showCol = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
    const std::string from =
        "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId ";
    options.sizeFormat = 3;
    options.sizeNumDec = 0;
    EXPECT_EQ(BuildSelectList(options),
              "SELECT  FORMAT(tblFiles.FileSize,'0') AS [File Size ( B) ]" + from);
    options.sizeFormat = 5;
    options.sizeNumDec = 1;
    EXPECT_EQ(BuildSelectList(options),
              "SELECT  FORMAT((tblFiles.FileSize)/1048576,'0.0') AS [File Size (MB) ]" + from);
}

TEST(BuildSelectList, DefaultDateFormatWhenBlank) {
    SearchOptions options;
    options.showCol = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    options.dateFormat = "   ";
    EXPECT_EQ(BuildSelectList(options),
              "SELECT tblFiles.KestId AS [Kest ID ], tblFiles.FileId AS [FileId],  "
              "FORMAT(tblFiles.FileDate,'MM/DD/YY HH:NN:SS AMPM') AS [File Date ], "
              "FORMAT(tblFiles.FileDate,'YYYYMMDDHHNNSS') AS [SortDate ]"
              "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId ");
}

TEST(BuildSelectList, HiddenKestIdDropsFileIdToo) {
    SearchOptions options;
    options.showCol = {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(BuildSelectList(options),
              "SELECT tblFiles.FileName AS [File Name ]"
              "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId ");
}

TEST(BuildSelectList, SubFileColumnsOnlyWithSearchSub) {
    SearchOptions options;
    options.showCol = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    options.showSubCol.fill(1);
    options.sizeFormat = 3;
    options.sizeNumDec = 0;
    options.dateFormat = "";
    EXPECT_EQ(BuildSelectList(options),
              "SELECT tblFiles.KestId AS [Kest ID ], tblFiles.FileId AS [FileId]"
              "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId ");
    options.searchSub = true;
    EXPECT_EQ(BuildSelectList(options),
              "SELECT tblFiles.KestId AS [Kest ID ], tblFiles.FileId AS [FileId], "
              "tblSubFiles.SubFileDir AS [SubFile Directory ], "
              "tblSubFiles.SubFileName AS [SubFile Name ], "
              "tblSubFiles.SubFileAtt AS [SubFile Attributes ],  "
              "FORMAT(tblSubFiles.SubFileSize,'0') AS [SubFile Size ( B) ],  "
              "FORMAT(tblSubFiles.SubFileCSize,'0') AS [SubFile Packed ( B) ], "
              "tblSubFiles.SubFileRatio AS [SubFile Ratio (%) ],  "
              "FORMAT(tblSubFiles.SubFileDate,'MM/DD/YY HH:NN:SS AMPM') AS [SubFile Date ], "
              "FORMAT(tblSubFiles.SubFileDate,'YYYYMMDDHHNNSS') AS [SubSortDate ], "
              "tblSubFiles.SubFileCRC AS [SubFile CRC ], "
              "IIf(tblSubFiles.SubFileEncr=True, 'Yes', ' ') AS [SubFile Encrypted ], "
              "tblSubFiles.SubFileComm AS [SubFile Comment ]"
              "FROM (tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId) "
              "LEFT JOIN tblSubFiles ON tblFiles.FileId = tblSubFiles.FileId ");
    options.sizeFormat = 2;
    options.showSubCol = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
    EXPECT_NE(BuildSelectList(options).find(
                  "FORMAT((tblSubFiles.SubFileCSize)/1024,'0') AS [SubFile Packed (KB) ]"),
              std::string::npos);
}

TEST(BuildStatement, JoinsTheThreeParts) {
    SearchOptions options;
    SearchBounds bounds;
    EXPECT_EQ(BuildSearchStatement("a", bounds, options),
              BuildSelectList(options) + "WHERE ((((tblFiles.FileName LIKE '*a*')))) " +
                  "ORDER BY tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName;");
    options.searchSub = true;
    EXPECT_EQ(BuildSortClause(options),
              "ORDER BY tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName, "
              "tblSubFiles.SubFileDir, tblSubFiles.SubFileName;");
}

}  // namespace
}  // namespace kest::search
