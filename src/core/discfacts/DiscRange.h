#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace kest::engine {
class Database;
}

namespace kest::discfacts {

// A list of discs as typed, "3,7-9": single Kest IDs and ranges, blanks
// allowed around the items; a range may be written backwards ("9-7" is
// 7-9). A range takes the discs of the catalog it spans (ids between them
// that no disc has are gaps, not errors); a single id must name a disc.
// Raises KestError with the reason: an empty item, a word that is no whole
// number, a single id the catalog lacks, a range that spans no disc.
// catalogIds: the catalog's Kest IDs, sorted.
std::set<int64_t> ParseDiscList(const std::string& typed, const std::vector<int64_t>& catalogIds);

// The Kest IDs of the catalog, sorted.
std::vector<int64_t> CatalogDiscIds(engine::Database& db);

}  // namespace kest::discfacts
