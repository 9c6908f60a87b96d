#pragma once

#include <optional>
#include <string>

#include "core/table/ListTable.h"

namespace kest::discs {

// The disc chosen in the disc list (or the disc of a file whose details show):
// the seven values the disc details window shows, all as text.
struct SelectedDisc {
    std::string kestId;
    std::string serial;
    std::string fileSystem;
    std::string label;
    std::string description;
    std::string fileCount;
    std::string usedSpace;  // empty when the list has no used-space column
};

// The values of one data row of the disc list (0-based); the used space only
// when the list has its seventh column.
SelectedDisc SelectedDiscOfRow(const ListTable& list, size_t row);

// The row of the disc list showing this KestId, if any.
std::optional<size_t> FindDiscRow(const ListTable& list, const std::string& kestId);

}  // namespace kest::discs
