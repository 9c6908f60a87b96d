#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace kest::damage {

// How a generated catalog was made.
struct Variant {
    uint32_t seed = 1;
    int files = 400;           // files per disc, about
    bool compacted = false;    // compacted after the scans and the deletion
    bool password = false;     // locked with kPassword
    bool halfIndexed = false;  // the search index's build stopped after a slice
};

inline constexpr const char* kPassword = "pw1234";

// Every row of the catalog's own tables by table and rowid, the values
// joined as text: what a repair must bring back.
using Rows = std::map<std::string, std::map<int64_t, std::string>>;

// The tables whose rows are counted (the lock and the disc facts included).
const char* const* CountedTables();

// Makes a catalog at path as a user would: three discs scanned from
// generated folder trees (names in several scripts, ZIP archives whose
// entries become subfiles), descriptions typed for some files, the second
// disc deleted again; then as the variant says.
void MakeCatalog(const std::filesystem::path& path, const std::filesystem::path& work,
                 const Variant& variant);

// The rows of every counted table; a table that is missing gives none.
Rows ReadRows(const std::string& path, const std::string& password);

}  // namespace kest::damage
