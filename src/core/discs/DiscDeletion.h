#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/discs/CatalogViews.h"
#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}

namespace kest::discs {

// Deletes the discs with their file and subfile rows as one unit: a failure
// on any statement leaves every row where it was. Raises KestError.
void DeleteDiscRows(engine::Database& db, const std::vector<std::string>& kestIds);

enum class DeleteOutcome { Declined, Deleted, Failed };

// "Delete Disc..." of the disc list's pop-up menu: asks, deletes, reloads the
// disc list, empties the results and suggests compacting.
DeleteOutcome DeleteDiscFromMenu(CatalogViews& views, const std::string& kestId,
                                 Prompter& prompter);

// The Delete key and "Multiple Disc Delete...": asks with the joined ids,
// deletes, reloads the disc list and empties the results.
DeleteOutcome DeleteSelectedDiscs(CatalogViews& views, const std::vector<int64_t>& kestIds,
                                  Prompter& prompter);

// "Disc Delete (KestID=<id>)", the title of a single deletion's boxes.
std::string DiscDeleteTitle(const std::string& kestId);

// The error title every deletion reports under.
inline constexpr const char* kDeleteErrorTitle = "Error in deleting Disc";

}  // namespace kest::discs
