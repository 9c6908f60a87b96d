#include "core/discfacts/DiscRange.h"

#include <algorithm>
#include <charconv>

#include "core/common/Errors.h"
#include "core/engine/Database.h"

namespace kest::discfacts {
namespace {

std::string Trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

int64_t WholeNumber(const std::string& word, const std::string& item) {
    int64_t value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc() || end != word.data() + word.size() || value < 0)
        throw KestError(err::kInvalidCall,
                        "\"" + item + "\" in the disc list is not a Kest ID or a range like 7-9.");
    return value;
}

}  // namespace

std::set<int64_t> ParseDiscList(const std::string& typed, const std::vector<int64_t>& catalogIds) {
    std::set<int64_t> chosen;
    size_t start = 0;
    for (;;) {
        size_t comma = typed.find(',', start);
        std::string item = Trimmed(std::string_view(typed).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start));
        if (item.empty())
            throw KestError(err::kInvalidCall, "The disc list \"" + typed +
                                                   "\" has an empty item; separate Kest IDs "
                                                   "and ranges by single commas.");
        size_t dash = item.find('-', 1);
        if (dash == std::string::npos) {
            int64_t id = WholeNumber(item, item);
            if (!std::binary_search(catalogIds.begin(), catalogIds.end(), id))
                throw KestError(err::kItemNotFound,
                                "No disc with Kest ID " + item + " in the catalog.");
            chosen.insert(id);
        } else {
            int64_t from = WholeNumber(Trimmed(item.substr(0, dash)), item);
            int64_t to = WholeNumber(Trimmed(item.substr(dash + 1)), item);
            if (from > to) std::swap(from, to);
            auto first = std::lower_bound(catalogIds.begin(), catalogIds.end(), from);
            auto last = std::upper_bound(catalogIds.begin(), catalogIds.end(), to);
            if (first == last)
                throw KestError(err::kItemNotFound,
                                "No disc of the catalog lies in the range " + item + ".");
            chosen.insert(first, last);
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return chosen;
}

std::vector<int64_t> CatalogDiscIds(engine::Database& db) {
    std::vector<int64_t> ids;
    auto rows = db.Prepare("SELECT KestId FROM tblDiscs");
    while (rows.Step()) ids.push_back(rows.Int(0));
    std::sort(ids.begin(), ids.end());
    return ids;
}

}  // namespace kest::discfacts
