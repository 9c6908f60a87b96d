// The grid model reads its table in place: an index a view still holds after
// the table changed, before the model's reset, must read nothing rather than
// past the table's end (the address sanitizer run catches such a read).
#include <gtest/gtest.h>

#include "gui/grids/ListTableModel.h"

namespace kest::test {
namespace {

ListTable TableOf(size_t columns, size_t rows) {
    ListTable table;
    std::vector<ListColumn> headers(columns);
    for (size_t c = 0; c < columns; ++c) headers[c].header = "c" + std::to_string(c);
    table.Reset(std::move(headers));
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < columns; ++c) table.AddCell(std::to_string(r * 10 + c));
    return table;
}

TEST(ListTableModel, AnIndexHeldAcrossAChangeOfTheTableReadsNothing) {
    ListTable table = TableOf(3, 4);
    gui::ListTableModel model(table, nullptr);
    QModelIndex last = model.index(3, 2);
    ASSERT_EQ(model.data(last, Qt::DisplayRole).toString(), "32");

    table.Clear();  // emptied: no rows, no columns
    EXPECT_FALSE(model.data(last, Qt::DisplayRole).isValid());
    EXPECT_FALSE(model.data(last, Qt::TextAlignmentRole).isValid());
    EXPECT_FALSE(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).isValid());

    table = TableOf(3, 1);  // the columns back, fewer rows
    EXPECT_FALSE(model.data(last, Qt::DisplayRole).isValid());
    table = TableOf(1, 4);  // the rows back, fewer columns
    EXPECT_FALSE(model.data(last, Qt::DisplayRole).isValid());

    model.Reload();
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.data(model.index(3, 0), Qt::DisplayRole).toString(), "30");
}

}  // namespace
}  // namespace kest::test
