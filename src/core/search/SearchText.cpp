#include "core/search/SearchText.h"

namespace kest::search {

std::string TrimBlanks(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(' ');
    return std::string(text.substr(begin, end - begin + 1));
}

std::vector<std::string> SplitEntries(std::string_view text) {
    std::vector<std::string> entries;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        entries.push_back(TrimBlanks(text.substr(start, comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return entries;
}

std::string NormaliseSearchText(std::string_view text) {
    std::string out;
    for (const auto& entry : SplitEntries(text)) {
        if (entry.empty()) continue;
        if (!out.empty()) out += ',';
        out += entry;
    }
    return out;
}

std::string OneLineDescription(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
    }
    return out;
}

}  // namespace kest::search
