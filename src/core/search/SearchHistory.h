#pragma once

#include <string>
#include <vector>

namespace kest::search {

// How many history entries the settings file keeps.
inline constexpr size_t kSavedHistoryItems = 15;

// The search box's drop-down list: most recent first, no two entries equal
// without regard to case.
class SearchHistory {
  public:
    SearchHistory() = default;
    explicit SearchHistory(std::vector<std::string> items) : m_items(std::move(items)) {}

    // Puts the text on top unless an entry equal to it without regard to case
    // is already there; gives true when the list changed.
    bool Add(const std::string& text);
    void Clear() { m_items.clear(); }
    const std::vector<std::string>& Items() const { return m_items; }
    // The entries the settings file keeps (the first kSavedHistoryItems).
    std::vector<std::string> SavedItems() const;

  private:
    std::vector<std::string> m_items;
};

// Whether two texts are equal without regard to case (Unicode case folding).
bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace kest::search
