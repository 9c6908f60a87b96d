#include <gtest/gtest.h>

#include "core/common/KestError.h"
#include "core/search/QueryBuilder.h"
#include "core/search/SqlText.h"

namespace kest::search {
namespace {

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

TEST(BuildWhere, TermsFieldsAndConnectors) {
    struct Case {
        const char* text;
        SearchOptions options;
        std::string sql;
    };
    const std::string files =
        "WHERE ((((tblFiles.FileName LIKE '*q*')) OR ((tblFiles.FileDir LIKE '*q*')) OR "
        "((tblFiles.FileDesc LIKE '*q*'))";
    const Case cases[] = {
        {"abc,x",
         {.inDirectory = true},
         "WHERE ((((tblFiles.FileName LIKE '*abc*') OR (tblFiles.FileName LIKE '*x*')) OR "
         "((tblFiles.FileDir LIKE '*abc*') OR (tblFiles.FileDir LIKE '*x*'))))"},
        {"a*,b?",
         {.logicalOp = kLogicalAnd, .autoAsterisks = false},
         "WHERE ((((tblFiles.FileName LIKE 'a*') AND (tblFiles.FileName LIKE 'b?'))))"},
        // Anything but 2 joins with OR.
        {"a", {.logicalOp = 7, .autoAsterisks = false}, "WHERE ((((tblFiles.FileName LIKE 'a'))))"},
        {"abc,DEF,abc",
         {},
         "WHERE ((((tblFiles.FileName LIKE '*abc*') OR (tblFiles.FileName LIKE '*DEF*') OR "
         "(tblFiles.FileName LIKE '*abc*'))))"},
        {"O'Brien", {}, "WHERE ((((tblFiles.FileName LIKE '*O''Brien*'))))"},
        // Every field group, in order; the subfile ones only with searchSub.
        {"q",
         {.inDirectory = true,
          .inFileDescription = true,
          .inSubDirectory = true,
          .inSubComment = true},
         files + "))"},
        {"q",
         {.inDirectory = true,
          .inFileDescription = true,
          .searchSub = true,
          .inSubDirectory = true,
          .inSubComment = true},
         files +
             " OR ((tblSubFiles.SubFileName LIKE '*q*')) OR "
             "((tblSubFiles.SubFileDir LIKE '*q*')) OR ((tblSubFiles.SubFileComm LIKE '*q*'))))"},
        {"q",
         {.inFileName = false, .searchSub = true, .inSubFileName = false, .inSubComment = true},
         "WHERE ((((tblSubFiles.SubFileComm LIKE '*q*'))))"}};
    for (const Case& c : cases) {
        SearchBounds bounds;
        EXPECT_EQ(BuildWhere(c.text, bounds, c.options), c.sql) << c.text;
    }
}

TEST(BuildWhere, BoundsAddTheirConditions) {
    struct Case {
        SearchBounds bounds;
        int sizeFormat;
        const char* conditions;
    };
    const Case cases[] = {
        {{}, 1, ""},
        {{"1", "2.5"}, 1, " AND (tblFiles.FileSize BETWEEN 1048576 AND 2621440)"},
        {{"1.5", ""}, 2, " AND (tblFiles.FileSize >= 1536)"},
        {{"", "1e3"}, 3, " AND (tblFiles.FileSize <= 1000)"},
        {{"", "1"}, 9, " AND (tblFiles.FileSize <= 1048576)"},  // an unknown unit is MB
        {{"", "", "9/18/1999", "2000-01-02 13:05:09"},
         1,
         " AND (tblFiles.FileDate BETWEEN #9/18/1999 00:00:00# AND #1/2/2000 13:05:09#)"},
        {{"", "", "September 18, 1999 2:32:21 PM", ""},
         1,
         " AND (tblFiles.FileDate >= #9/18/1999 14:32:21#)"},
        {{"", "", "", "12/31/2029"}, 1, " AND (tblFiles.FileDate <= #12/31/2029 00:00:00#)"},
        // The century stays; a time alone is that time on day zero.
        {{"", "", "12/31/1925", "1/1/2100"},
         1,
         " AND (tblFiles.FileDate BETWEEN #12/31/1925 00:00:00# AND #1/1/2100 00:00:00#)"},
        {{"", "", "10:30", ""}, 1, " AND (tblFiles.FileDate >= #12/30/1899 10:30:00#)"},
        // Bounds of blanks only are no bounds.
        {{"  ", " ", " ", "   ", " ", "  "}, 1, ""},
        {{" 1 ", "  ", "", "", "", ""}, 3, " AND (tblFiles.FileSize >= 1)"},
        {{"", "", "", "", "2", "5"}, 1, " AND (tblFiles.KestID BETWEEN 2 AND 5)"},
        {{"", "", "", "", "3", ""}, 1, " AND (tblFiles.KestID >= 3)"},
        {{"", "", "", "", "", "7.6"}, 1, " AND (tblFiles.KestID <= 8)"},
        {{"", "", "", "", "2.5", "7.6"}, 1, " AND (tblFiles.KestID BETWEEN 2 AND 8)"},
        {{"9", "1", "", "", "9", "1"},  // a lower bound above the upper one stays
         3,
         " AND (tblFiles.FileSize BETWEEN 9 AND 1) AND (tblFiles.KestID BETWEEN 9 AND 1)"},
        {{"1", "", "", "1/1/01", "", "4"},
         2,
         " AND (tblFiles.FileSize >= 1024) AND (tblFiles.FileDate <= #1/1/2001 00:00:00#)"
         " AND (tblFiles.KestID <= 4)"}};
    for (const Case& c : cases) {
        SearchOptions options{.advanced = true, .sizeFormat = c.sizeFormat};
        SearchBounds bounds = c.bounds;
        EXPECT_EQ(BuildWhere("a", bounds, options),
                  std::string("WHERE ((((tblFiles.FileName LIKE '*a*')))") + c.conditions + ")");
    }
}

TEST(BuildWhere, WritesBackTheRoundedDiscBounds) {
    SearchOptions options{.advanced = true};
    SearchBounds bounds{"", "", "", "", "2.5", "7.6"};
    BuildWhere("a", bounds, options);
    EXPECT_EQ(bounds.discFrom, "2");  // halves go to the even neighbour
    EXPECT_EQ(bounds.discTo, "8");
}

TEST(BuildWhere, BoundsCountOnlyWithThePanelOpen) {
    SearchOptions options;
    SearchBounds junk{"junk", "", "not a date", "", "9e99", ""};
    EXPECT_EQ(BuildWhere("a", junk, options), "WHERE ((((tblFiles.FileName LIKE '*a*'))))");
    EXPECT_EQ(junk.discFrom, "9e99");

    options.advanced = true;  // and then what cannot be used raises
    auto error = [&](SearchBounds bounds) {
        try {
            BuildWhere("a", bounds, options);
        } catch (const KestError& e) {
            return e.Number();
        }
        return 0L;
    };
    EXPECT_EQ(error({"", "", "", "", "9e99", ""}), err::kOverflow);
    EXPECT_EQ(error({"", "", "31/31/2000", "", "", ""}), err::kConversion);
}

TEST(BuildSelectList, ShownColumnsUnitsAndJoins) {
    struct Case {
        SearchOptions options;
        std::string sql;
    };
    const std::string kestId = "SELECT tblFiles.KestId AS [Kest ID ], tblFiles.FileId AS [FileId]";
    const std::string from =
        "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId ";
    const std::string subFrom =
        "FROM (tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId) "
        "LEFT JOIN tblSubFiles ON tblFiles.FileId = tblSubFiles.FileId ";
    const Case cases[] = {
        {{},
         kestId +
             ", tblFiles.FileDir AS [File Directory ], tblFiles.FileName AS [File Name ],  "
             "FORMAT((tblFiles.FileSize)/1048576,'0.0000') AS [File Size (MB) ]" +
             from},
        // Every file column.
        {{.sizeFormat = 2,
          .sizeNumDec = 2,
          .dateFormat = "yyyy-mm-dd",
          .showCol = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
         kestId +
             ", tblDiscs.DiscSer AS [Disc Serial # ], tblDiscs.DiscFSys AS [Disc File System ], "
             "tblDiscs.DiscLbl AS [Disc Vol Label ], tblDiscs.DiscDesc AS [Disc Description ], "
             "tblDiscs.DiscNumF AS [# of Files ], tblFiles.FileDir AS [File Directory ], "
             "tblFiles.FileName AS [File Name ], tblFiles.FileAtt AS [File Attributes ],  "
             "FORMAT((tblFiles.FileSize)/1024,'0.00') AS [File Size (KB) ],  "
             "FORMAT(tblFiles.FileDate,'yyyy-mm-dd') AS [File Date ], "
             "FORMAT(tblFiles.FileDate,'YYYYMMDDHHNNSS') AS [SortDate ], "
             "tblFiles.FileDesc AS [File Description ]" +
             from},
        // Size units and decimals.
        {{.sizeFormat = 3, .sizeNumDec = 0, .showCol = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
         "SELECT  FORMAT(tblFiles.FileSize,'0') AS [File Size ( B) ]" + from},
        {{.sizeFormat = 5, .sizeNumDec = 1, .showCol = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
         "SELECT  FORMAT((tblFiles.FileSize)/1048576,'0.0') AS [File Size (MB) ]" + from},
        // A blank date format is the default one.
        {{.dateFormat = "   ", .showCol = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}},
         kestId +
             ",  FORMAT(tblFiles.FileDate,'MM/DD/YY HH:NN:SS AMPM') AS [File Date ], "
             "FORMAT(tblFiles.FileDate,'YYYYMMDDHHNNSS') AS [SortDate ]" +
             from},
        // A hidden Kest ID hides the FileId too.
        {{.showCol = {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}},
         "SELECT tblFiles.FileName AS [File Name ]" + from},
        // Subfile columns only with searchSub.
        {{.sizeFormat = 3,
          .sizeNumDec = 0,
          .dateFormat = "",
          .showCol = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
          .showSubCol = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
         kestId + from},
        {{.sizeFormat = 3,
          .sizeNumDec = 0,
          .dateFormat = "",
          .searchSub = true,
          .showCol = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
          .showSubCol = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
         kestId +
             ", tblSubFiles.SubFileDir AS [SubFile Directory ], "
             "tblSubFiles.SubFileName AS [SubFile Name ], "
             "tblSubFiles.SubFileAtt AS [SubFile Attributes ],  "
             "FORMAT(tblSubFiles.SubFileSize,'0') AS [SubFile Size ( B) ],  "
             "FORMAT(tblSubFiles.SubFileCSize,'0') AS [SubFile Packed ( B) ], "
             "tblSubFiles.SubFileRatio AS [SubFile Ratio (%) ],  "
             "FORMAT(tblSubFiles.SubFileDate,'MM/DD/YY HH:NN:SS AMPM') AS [SubFile Date ], "
             "FORMAT(tblSubFiles.SubFileDate,'YYYYMMDDHHNNSS') AS [SubSortDate ], "
             "tblSubFiles.SubFileCRC AS [SubFile CRC ], "
             "IIf(tblSubFiles.SubFileEncr=True, 'Yes', ' ') AS [SubFile Encrypted ], "
             "tblSubFiles.SubFileComm AS [SubFile Comment ]" +
             subFrom},
        {{.sizeFormat = 2,
          .sizeNumDec = 0,
          .searchSub = true,
          .showCol = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
          .showSubCol = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
         kestId + ",  FORMAT((tblSubFiles.SubFileCSize)/1024,'0') AS [SubFile Packed (KB) ]" +
             subFrom}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(BuildSelectList(cases[i].options), cases[i].sql) << "case " << i;
    }
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
