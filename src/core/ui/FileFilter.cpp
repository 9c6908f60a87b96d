#include "core/ui/FileFilter.h"

namespace kest {
namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::vector<FileFilter> ParseFileFilter(std::string_view classic) {
    std::vector<FileFilter> filters;
    if (classic.empty()) return filters;
    std::vector<std::string> parts = Split(classic, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({parts[i], Split(parts[i + 1], ';')});
    return filters;
}

std::string ClassicFileFilter(const std::vector<FileFilter>& filters) {
    std::string classic;
    for (const FileFilter& filter : filters) {
        if (!classic.empty()) classic += '|';
        classic += filter.description;
        classic += '|';
        for (size_t i = 0; i < filter.patterns.size(); ++i) {
            if (i > 0) classic += ';';
            classic += filter.patterns[i];
        }
    }
    return classic;
}

std::string FilterExtension(const FileFilter& filter) {
    if (filter.patterns.empty()) return {};
    const std::string& pattern = filter.patterns.front();
    if (!pattern.starts_with("*.")) return {};
    std::string extension = pattern.substr(1);
    if (extension.size() < 2 || extension.find_first_of("*?[") != std::string::npos) return {};
    return extension;
}

std::string WithFilterExtension(const std::string& path, std::string_view classicFilter,
                                int filterIndex) {
    std::vector<FileFilter> filters = ParseFileFilter(classicFilter);
    if (filterIndex < 1 || static_cast<size_t>(filterIndex) > filters.size()) return path;
    size_t nameStart = path.rfind('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    // A leading dot names a hidden file, not an extension.
    if (nameStart >= path.size() || path.find('.', nameStart + 1) != std::string::npos) return path;
    return path + FilterExtension(filters[static_cast<size_t>(filterIndex) - 1]);
}

}  // namespace kest
