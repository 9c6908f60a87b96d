#include "core/catalog/CatalogPaths.h"

#include "core/common/Errors.h"

namespace kest {

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

FileDialogRequest CatalogOpenDialog(const std::string& title, const std::string& programFolder) {
    return {title,
            "",
            programFolder,
            "Kest Database (*.kst)|*.kst|MS Access 97 Database (*.mdb)|*.mdb|All Files (*.*)|*.*",
            1,
            kFileMustExistFlag | kHideReadOnlyFlag | kNoReadOnlyReturnFlag};
}

std::string GetDirectory(const std::string& path) {
    std::string trimmed = Trim(path);
    size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos) throw err::InvalidCall();
    return trimmed.substr(0, slash);
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
    size_t cut = path.rfind('/');
    if (cut == std::string::npos) cut = path.rfind('\\');
    if (cut == std::string::npos) return {std::string(), path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

}  // namespace kest
