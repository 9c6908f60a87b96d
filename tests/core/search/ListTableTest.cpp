#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "core/search/ResultsGrid.h"
#include "core/search/SortGrid.h"
#include "core/text/DateParse.h"
#include "core/text/TextOrder.h"
#include "support/search/SearchFixture.h"

namespace kest::search {
namespace {

using test::ColumnCells;
using test::Texts;

// A table whose column headers are "c<tag> ".
ListTable Make(std::vector<int> tags, const Texts& cells) {
    std::vector<ListColumn> columns;
    for (int tag : tags) columns.push_back(ListColumn{"c" + std::to_string(tag) + " ", tag});
    return test::MakeTable(columns, cells);
}

TEST(ListTable, SortKinds) {
    ListTable table = Make({7}, {"b", "10", "A", "9", "a"});
    table.Sort(0, SortKind::General, false);
    EXPECT_EQ(ColumnCells(table, 0), (Texts{"9", "10", "A", "a", "b"}));
    table.Sort(0, SortKind::Text, false);
    EXPECT_EQ(ColumnCells(table, 0), (Texts{"10", "9", "A", "a", "b"}));
    table.Sort(0, SortKind::Numeric, true);
    EXPECT_EQ(ColumnCells(table, 0), (Texts{"10", "9", "A", "a", "b"}));
    table.Sort(0, SortKind::Text, true);
    EXPECT_EQ(ColumnCells(table, 0), (Texts{"b", "a", "A", "9", "10"}));

    // Accented letters sort beside their base letters, as the search's
    // ORDER BY has them.
    ListTable names = Make({7}, {"zz", "\xC3\x96",
                                 "\xC3\xA9"
                                 "a",
                                 "o", "Eb", "ea"});
    names.Sort(0, SortKind::General, false);
    EXPECT_EQ(ColumnCells(names, 0), (Texts{"ea",
                                            "\xC3\xA9"
                                            "a",
                                            "Eb", "o", "\xC3\x96", "zz"}));
}

TEST(SortGrid, MarkersAndDirection) {
    ListTable table = Make({7, 9}, {"b", "2", "a", "10", "c", "1"});
    SortGrid(table, 0, 0, SortKind::Text);
    EXPECT_EQ(table.Column(0).header, "c7 ^");
    EXPECT_EQ(ColumnCells(table, 0), (Texts{"a", "b", "c"}));
    SortGrid(table, 0, 0, SortKind::Text);
    EXPECT_EQ(table.Column(0).header, "c7 v");
    EXPECT_EQ(ColumnCells(table, 0), (Texts{"c", "b", "a"}));
    SortGrid(table, 0, 0, SortKind::Text);
    EXPECT_EQ(table.Column(0).header, "c7 ^");
    ClickResultsHeader(table, 1);  // the size column sorts by value
    EXPECT_EQ(table.Column(0).header, "c7 ");
    EXPECT_EQ(table.Column(1).header, "c9 ^");
    EXPECT_EQ(ColumnCells(table, 1), (Texts{"1", "2", "10"}));
}

TEST(SortGrid, DatesSortByTheHiddenSortText) {
    ListTable table = Make({0, -1, 10, -2}, {"1", "5", "12/01/99", "19991201000000",  //
                                             "1", "6", "01/15/00", "20000115000000",  //
                                             "2", "7", "06/30/98", "19980630120000"});
    ClickResultsHeader(table, 2);
    EXPECT_EQ(ColumnCells(table, 1), (Texts{"7", "5", "6"}));
    EXPECT_EQ(table.Column(2).header, "c10 ^");
    EXPECT_EQ(table.Column(3).header, "c-2 ");
    ClickResultsHeader(table, 2);
    EXPECT_EQ(ColumnCells(table, 1), (Texts{"6", "5", "7"}));
}

TEST(ResultsGrid, LaysOutTagsWidthsAndAlignment) {
    SearchOptions options;
    options.showCol = {1, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0};
    options.searchSub = true;
    options.showSubCol = {0, 1, 0, 1, 0, 0, 1, 0, 0, 0};
    ColumnWidths widths;
    widths.file[7] = 2000;
    widths.sub[3] = 1500;
    ListTable table = Make(std::vector<int>(11, 99), {});
    FillResultsGrid(table, options, widths);
    std::vector<int> tags;
    for (const auto& c : table.Columns()) tags.push_back(c.tag);
    EXPECT_EQ(tags, (std::vector<int>{0, -1, 6, 7, 9, 10, -2, 101, 103, 106, -3}));
    EXPECT_EQ(table.Column(1).width, 0);
    EXPECT_EQ(table.Column(3).width, 2000);
    EXPECT_EQ(table.Column(8).width, 1500);
    EXPECT_EQ(table.Column(4).alignment, Alignment::Right);
    EXPECT_EQ(table.Column(3).alignment, Alignment::Left);
    EXPECT_EQ(table.Column(9).alignment, Alignment::Right);

    table.Column(3).width = 3333;
    table.Column(8).width = 444;
    ResetResultsGrid(table, options, widths);
    EXPECT_EQ(widths.file[7], 3333);
    EXPECT_EQ(widths.sub[3], 444);
    EXPECT_EQ(test::Headers(table),
              (Texts{"Kest ID ", "File Directory ", "File Name ", "File Size (MB) ", "File Date ",
                     "SubFile Name ", "SubFile Size (MB) ", "SubFile Date "}));
    ASSERT_EQ(table.RowCount(), 1u);
    EXPECT_EQ(table.Cell(0, 0), "");
    EXPECT_EQ(table.Column(2).width, 3333);
}

void ExpectSortsAsTheKindsComparisonWould(int rows) {
    Texts cells;
    const char* const stems[] = {
        "file", "FILE", "fil\xC3\xA9", "directory/sub", "Directory/Sub", "12", "3.5", "-4", ""};
    for (int i = 0; i < rows; ++i)
        cells.push_back(std::string(stems[i % 9]) + (i % 4 ? std::to_string(i * 37 % 101) : ""));
    const struct {
        SortKind kind;
        std::function<bool(const std::string&, const std::string&)> less;
    } kinds[] = {
        {SortKind::Text, [](const std::string& a, const std::string& b) { return a < b; }},
        {SortKind::Numeric,
         [](const std::string& a, const std::string& b) {
             return NumericSortKey(a) < NumericSortKey(b);
         }},
        {SortKind::General,
         [](const std::string& a, const std::string& b) {
             auto x = text::ParseNumberText(a), y = text::ParseNumberText(b);
             if (x && y) return *x < *y;
             if (x || y) return x.has_value();
             return text::CompareText(a, b) < 0;
         }},
    };
    for (const auto& k : kinds)
        for (bool descending : {false, true}) {
            ListTable table = Make({7}, cells);
            // A long list's order is worked out on the runner's thread.
            int runs = 0;
            table.Sort(0, k.kind, descending, [&](const std::function<void()>& work) {
                ++runs;
                std::thread(work).join();
            });
            EXPECT_EQ(runs, rows >= 200000 ? 1 : 0);
            Texts expected = cells;
            std::stable_sort(expected.begin(), expected.end(),
                             [&](const std::string& a, const std::string& b) {
                                 return descending ? k.less(b, a) : k.less(a, b);
                             });
            EXPECT_EQ(ColumnCells(table, 0), expected)
                << static_cast<int>(k.kind) << (descending ? " descending" : "");
        }
}

// Texts sharing long beginnings, differing in case or past an accent, and
// numbers: every kind, both ways, orders the rows as a plain stable sort by
// the kind's comparison would, in a short list and in one long enough to be
// sorted in parts (many equal keys on both sides of any cut) on another thread.
TEST(ListTable, SortsAsTheKindsComparisonWould) {
    for (int rows : {400, 300000}) {
        SCOPED_TRACE(rows);
        ExpectSortsAsTheKindsComparisonWould(rows);
    }
}

TEST(ListTable, MillionRowsSortQuickly) {
    ListTable table = Make({7, 9}, {});
    for (int64_t i = 0; i < 1000000; ++i) {
        table.AddCell("name" + std::to_string((i * 7919) % 1000003));
        table.AddCell(std::to_string((i * 104729) % 999983));
    }
    // The texts span several storage blocks; every cell reads back whole.
    for (size_t i = 0; i < 1000000; ++i) {
        ASSERT_EQ(table.Cell(i, 0), "name" + std::to_string((i * 7919) % 1000003)) << i;
        ASSERT_EQ(table.Cell(i, 1), std::to_string((i * 104729) % 999983)) << i;
    }
    ClickResultsHeader(table, 1);
    EXPECT_EQ(table.Cell(0, 1), "0");
    EXPECT_EQ(table.Cell(999999, 1), "999982");
    SortGrid(table, 0, 0, SortKind::Text);
    EXPECT_LT(table.Cell(0, 0), table.Cell(1, 0));
}

// A list read once, as it fills, is handed over in pieces: every row comes out
// once, in the order added, and only the last piece is still held.
TEST(ListTable, HandsRowsOverInOrderWithoutKeepingThem) {
    ListTable table;
    Texts handedOver;
    size_t pieces = 0;
    table.HandOverRows(100, [&](const ListTable& rows) {
        ++pieces;
        EXPECT_EQ(rows.RowCount(), 100u);
        for (size_t r = 0; r < rows.RowCount(); ++r)
            handedOver.push_back(std::string(rows.Cell(r, 0)) + "|" + std::string(rows.Cell(r, 1)));
    });
    for (int round = 0; round < 2; ++round) {
        table.Reset({ListColumn{"a", 0}, ListColumn{"b", 1}});
        handedOver.clear();
        pieces = 0;
        Texts added;
        for (int r = 0; r < 1050; ++r) {
            // Long cells now and then fill the blocks, so dropped rows must
            // not leave a block behind that later rows would skip.
            std::string second = r % 97 == 0 ? std::string(300000, 'x') : std::to_string(r * 7);
            table.AddCell(std::to_string(r));
            table.AddCell(second);
            added.push_back(std::to_string(r) + "|" + second);
        }
        EXPECT_EQ(pieces, 10u);
        EXPECT_EQ(table.RowCount(), 50u);
        EXPECT_EQ(table.AddedRowCount(), 1050u);
        for (size_t r = 0; r < table.RowCount(); ++r)
            handedOver.push_back(std::string(table.Cell(r, 0)) + "|" +
                                 std::string(table.Cell(r, 1)));
        EXPECT_EQ(handedOver, added) << "round " << round;
    }
    table.HandOverRows(0, {});
    table.Reset({ListColumn{"a", 0}});
    for (int r = 0; r < 300; ++r) table.AddCell("kept");
    EXPECT_EQ(table.RowCount(), 300u);
}

}  // namespace
}  // namespace kest::search
