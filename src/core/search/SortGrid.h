#pragma once

#include <cstddef>

#include "core/table/ListTable.h"

namespace kest::search {

// Sorts a list by a header click: every header loses its "^" or "v" marker; the
// clicked one gets "v" and sorts descending when it had "^", otherwise it gets
// "^" and sorts ascending. The rows are ordered by sortColumn (a date column
// sorts by its hidden sort text). A long sort's work goes through runLong.
void SortGrid(ListTable& table, size_t clickedColumn, size_t sortColumn, SortKind kind,
              const LongWorkRunner& runLong = nullptr);

// A click on a header of the results list: the kind and sort column follow the
// column's tag (numbers by value, dates by their hidden sort text).
void ClickResultsHeader(ListTable& table, size_t column, const LongWorkRunner& runLong = nullptr);

}  // namespace kest::search
