#include "core/explore/FolderNames.h"

namespace kest::explore {
namespace {

constexpr std::string_view kRoot = "<root>";

FolderPath SplitNames(std::string_view text, std::string_view separators) {
    FolderPath names;
    if (text == kRoot) return names;
    if (!text.empty() && separators.find(text.front()) != std::string_view::npos)
        names.emplace_back("/");
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) names.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

}  // namespace

FolderPath FileDirNames(std::string_view fileDir) {
    return SplitNames(fileDir, "/");
}

FolderPath SubFileDirNames(std::string_view subFileDir) {
    return SplitNames(subFileDir, "/\\");
}

FolderPath ParseFolderPath(std::string_view text) {
    FolderPath names;
    if (text.starts_with('/')) text.remove_prefix(1);
    if (text.ends_with('/')) text.remove_suffix(1);
    if (text.empty() || text == kRoot) return names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('/', start);
        if (end == std::string_view::npos) end = text.size();
        names.emplace_back(end > start ? text.substr(start, end - start) : std::string_view("/"));
        start = end + 1;
    }
    return names;
}

std::string FolderPathText(const FolderPath& path) {
    std::string text = !path.empty() && path.front() == "/" ? "/" : "";
    for (size_t i = 0; i < path.size(); ++i) {
        if (i > 0) text += '/';
        if (path[i] != "/") text += path[i];
    }
    return text;
}

}  // namespace kest::explore
