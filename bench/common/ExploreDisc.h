#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/engine/Database.h"

namespace kest::bench {

// The sizes of a generated disc to explore: --files, --folders (up to 12
// deep), --entries (archive entries, 100 an archive) and --big (the files of
// one folder that also exists on disk).
struct ExploreShape {
    int64_t files = 1000000, folders = 50000, entries = 20000, big = 20000;
};
ExploreShape ExploreShapeFrom(int argc, char** argv);

// A catalog (disc 1) made of the shape, its file rows written directly with
// the folder facts dropped (a caller builds them: timed or not).
struct ExploreDisc {
    std::string catalog;
    std::filesystem::path bigDir;   // "big/" on disk
    std::vector<std::string> dirs;  // every folder text; "big/" first
    int64_t files = 0, entries = 0;
    std::unique_ptr<engine::Database> db;
};
ExploreDisc MakeExploreDisc(const std::filesystem::path& home, const ExploreShape& shape,
                            std::mt19937_64& random);

}  // namespace kest::bench
