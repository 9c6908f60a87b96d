#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/CliContext.h"
#include "core/explore/DiscTree.h"

namespace kest::cli {

class CliSession;

// A disc's tree and the place a folder text names in it, for tree and ls;
// none (after saying why on standard error) when the disc or folder is not
// there.
struct OpenedPlace {
    std::optional<explore::DiscTree> tree;
    explore::Place place;
};
std::optional<OpenedPlace> OpenPlace(CliSession& session, int32_t kestId,
                                     const std::string& folder);

}  // namespace kest::cli
