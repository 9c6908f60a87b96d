#include "cli/search/CliLists.h"

#include "core/search/SearchText.h"
#include "core/search/SortGrid.h"

namespace kest::cli {
namespace {

// Visible header text without the sort marker.
std::string BareHeader(const std::string& header) {
    std::string bare = search::TrimBlanks(header);
    if (!bare.empty() && (bare.back() == '^' || bare.back() == 'v') && header.size() > 1 &&
        header[header.size() - 2] == ' ')
        bare = search::TrimBlanks(bare.substr(0, bare.size() - 1));
    return bare;
}

}  // namespace

bool SortResultsBy(ListTable& table, const std::string& argument) {
    std::string name = argument;
    bool descending = false;
    if (name.size() > 5 && name.compare(name.size() - 5, 5, ":desc") == 0) {
        descending = true;
        name.resize(name.size() - 5);
    }
    std::vector<size_t> shown = table.ShownColumns();
    std::optional<size_t> column;
    for (size_t c : shown)
        if (BareHeader(table.Column(c).header) == search::TrimBlanks(name)) column = c;
    if (!column && !name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
        size_t index = std::stoul(name);
        if (index < shown.size()) column = shown[index];
    }
    if (!column) return false;
    search::ClickResultsHeader(table, *column);
    if (descending) search::ClickResultsHeader(table, *column);
    return true;
}

}  // namespace kest::cli
