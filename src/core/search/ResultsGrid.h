#pragma once

#include <array>

#include "core/search/SearchOptions.h"
#include "core/table/ListTable.h"

namespace kest::search {

// Tags of the hidden result columns; file columns carry their number (0-11),
// subfile column j carries kSubFileTagBase + j.
inline constexpr int kFileIdTag = -1;
inline constexpr int kSortDateTag = -2;
inline constexpr int kSubSortDateTag = -3;
inline constexpr int kSubFileTagBase = 100;

// The widths (twips) the user gave the result columns, kept for the whole run.
struct ColumnWidths {
    std::array<int, kFileColumns> file = {930, 960, 960, 960, 960, 960,
                                          960, 960, 960, 960, 960, 960};
    std::array<int, kSubFileColumns> sub = {960, 960, 960, 960, 960, 960, 960, 960, 960, 960};
};

// Stores the width of every tagged column of the results list.
void RememberWidths(const ListTable& table, ColumnWidths& widths);
// Tags, widths and alignment of a results list just filled from the search
// statement (KestId and FileId first, then the shown columns in order).
void FillResultsGrid(ListTable& table, const SearchOptions& options, const ColumnWidths& widths);
// Remembers the widths, clears the list and leaves the headers of the shown
// columns (caption + " ") over one blank row.
void ResetResultsGrid(ListTable& table, const SearchOptions& options, ColumnWidths& widths);
// Whether a results column of this tag is right-aligned.
bool IsRightAligned(int tag);

}  // namespace kest::search
