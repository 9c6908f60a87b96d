#include "core/search/SearchHistory.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace kest::search {
namespace {

std::string Fold(const std::string& text) {
    utf8proc_uint8_t* folded = nullptr;
    auto length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                               static_cast<utf8proc_ssize_t>(text.size()), &folded,
                               static_cast<utf8proc_option_t>(UTF8PROC_CASEFOLD | UTF8PROC_STABLE));
    if (length < 0) {  // not valid UTF-8: fold the ASCII letters only
        std::string out = text;
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(folded, &std::free);
    return std::string(reinterpret_cast<const char*>(folded), static_cast<size_t>(length));
}

}  // namespace

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() == b.size() && a == b) return true;
    return Fold(a) == Fold(b);
}

bool SearchHistory::Add(const std::string& text) {
    std::string folded = Fold(text);
    for (const auto& item : m_items)
        if (Fold(item) == folded) return false;
    m_items.insert(m_items.begin(), text);
    return true;
}

std::vector<std::string> SearchHistory::SavedItems() const {
    size_t n = std::min(m_items.size(), kSavedHistoryItems);
    return std::vector<std::string>(m_items.begin(), m_items.begin() + static_cast<long>(n));
}

}  // namespace kest::search
