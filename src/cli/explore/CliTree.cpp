#include "cli/explore/CliTree.h"

#include <iostream>

#include "cli/catalog/CliSession.h"
#include "core/explore/ExploreTexts.h"

namespace kest::cli {

std::optional<OpenedPlace> OpenPlace(CliSession& session, int32_t kestId,
                                     const std::string& folder) {
    engine::Database& db = session.current.Db();
    OpenedPlace opened{explore::DiscTree::Load(db, kestId), {}};
    if (!opened.tree) {
        std::cerr << "kest-cli: " << explore::NoDiscText(kestId) << std::endl;
        return std::nullopt;
    }
    const explore::FolderPath path = explore::ParseFolderPath(folder);
    auto place = opened.tree->Find(db, path);
    if (!place) {
        std::cerr << "kest-cli: " << explore::NoFolderText(path) << std::endl;
        return std::nullopt;
    }
    opened.place = std::move(*place);
    return opened;
}

}  // namespace kest::cli
