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

}  // namespace kest
