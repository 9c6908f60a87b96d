#pragma once

#include <cstdint>
#include <string>

namespace kest::bench {

// Creates a catalog at path with the program itself (kest-cli create) and
// fills it with `files` file rows spread over 200 discs, names and sizes
// varied as on real discs.
void BuildLargeCatalog(const std::string& path, int64_t files);

}  // namespace kest::bench
