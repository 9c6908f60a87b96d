#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kest {

enum class Alignment { Left, Right };

// One column of a list: its header text, the tag that says what it holds, its
// width in twips (0 = hidden) and its alignment.
struct ListColumn {
    std::string header;
    int tag = 0;
    int width = 0;
    Alignment alignment = Alignment::Left;
};

// Sorting kinds of a list column: general (numbers as numbers, other texts
// without regard to case), text (case-sensitive) and numeric.
enum class SortKind { General = 0, Text = 1, Numeric = 2 };

// Runs a long piece of work and returns when it has ended. A window runs it on
// another thread and keeps painting meanwhile; the work only reads the list.
using LongWorkRunner = std::function<void(const std::function<void()>& work)>;

// A list as the grids show it: a header row of columns and rows of text. Cell
// texts are stored back to back in large blocks that never move, and rows are
// shown through a permutation, so a list of a million rows fills without
// copying its text again and sorts without moving it.
class ListTable {
  public:
    // Replaces the columns and drops every row (a hand-over set by HandOverRows stays).
    void Reset(std::vector<ListColumn> columns);
    void Clear() { Reset({}); }

    // Lets a list that is only read once, in the order it fills, go out as it
    // comes instead of being kept: each time `rows` rows are complete, handOver
    // reads them (Cell, RowCount) and they are dropped, so memory stays the same
    // whatever the list's length. rows = 0 keeps every row again.
    void HandOverRows(size_t rows, std::function<void(const ListTable&)> handOver);

    size_t ColumnCount() const { return m_columns.size(); }
    // The rows held now; AddedRowCount() counts the ones handed over too.
    size_t RowCount() const { return m_order.size(); }
    size_t AddedRowCount() const { return m_handedOverRows + m_order.size(); }
    ListColumn& Column(size_t column) { return m_columns[column]; }
    const ListColumn& Column(size_t column) const { return m_columns[column]; }
    const std::vector<ListColumn>& Columns() const { return m_columns; }
    // A column with a negative tag holds what the list needs but never shows
    // (ids, sort keys): the grids, the printed and the saved lists skip it.
    bool Shown(size_t column) const { return m_columns[column].tag >= 0; }
    // The shown columns' indexes, in order.
    std::vector<size_t> ShownColumns() const;

    // Adds a row; the cells are given one by one, as many as there are columns.
    void AddCell(std::string_view text);
    // Adds a row of empty cells (the blank row of an empty grid).
    void AddBlankRow();

    // The text of a cell of a data row (0 = the first row under the header).
    std::string_view Cell(size_t row, size_t column) const;

    // Reorders the rows by one column; equal keys keep their order. The order
    // of a long list is worked out through runLong, when given, and put in
    // place afterwards on the caller's thread.
    void Sort(size_t column, SortKind kind, bool descending,
              const LongWorkRunner& runLong = nullptr);

  private:
    // Writes the stored rows, in the order a sort asks for, to out (as long as
    // the list; it may be the list's own order, which is read before).
    void WriteSortedOrder(size_t column, SortKind kind, bool descending,
                          std::vector<uint32_t>& out) const;
    // A cell of a row by the order rows were added, not the shown order.
    std::string_view StoredCell(size_t storedRow, size_t column) const;

    static constexpr size_t kChunkBits = 16;
    static constexpr size_t kChunkMask = (size_t{1} << kChunkBits) - 1;
    uint32_t& CellEnd(size_t index) { return m_cellEnds[index >> kChunkBits][index & kChunkMask]; }
    uint32_t CellEnd(size_t index) const {
        return m_cellEnds[index >> kChunkBits][index & kChunkMask];
    }

    std::vector<ListColumn> m_columns;
    // The cells' texts, back to back; each block is filled up to its reserved
    // size, never beyond, so its text never moves.
    std::vector<std::string> m_blocks;
    std::vector<size_t> m_blockFirstCell;  // the index of the first cell of each block
    // Where each cell's text ends in its block (it starts where the one before
    // ends, or at the block's start): four bytes a cell, in chunks that never
    // move once made.
    std::vector<std::unique_ptr<uint32_t[]>> m_cellEnds;
    size_t m_cellCount = 0;
    std::vector<uint32_t> m_order;  // shown row -> stored row

    // Drops the rows held, keeping the first block's memory for the next ones.
    void DropRows();
    size_t m_handOverRows = 0;
    std::function<void(const ListTable&)> m_handOver;
    size_t m_handedOverRows = 0;
};

// The value of a cell read as the grid's numeric sort reads it (0 when it is
// not a number); the user's decimal and thousands separators apply.
double NumericSortKey(std::string_view text);

}  // namespace kest
