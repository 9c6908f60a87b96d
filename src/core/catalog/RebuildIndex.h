#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

namespace kest {

using IndexProgressFn = std::function<void(int64_t done, int64_t total)>;

// Rebuilds the search index of the catalog file at path, which no one has
// open (repair and compact run it on the file they wrote); progress gets
// (rows done, rows to do) after each slice.
void RebuildSearchIndexOf(const std::string& path, const std::string& password,
                          const IndexProgressFn& progress);

// The "Rebuild Search Index" command on the current catalog: the index is
// dropped and built afresh, whatever the checks found; cancelled is asked
// between slices (the slices built stay, and the next open goes on with the
// rest). Tells the user how it ended; true when the index is complete.
bool RebuildIndexCommand(CurrentCatalog& current, Prompter& prompter,
                         const IndexProgressFn& progress, const std::function<bool()>& cancelled);

}  // namespace kest
