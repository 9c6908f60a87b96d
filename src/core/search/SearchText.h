#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kest::search {

// The text without leading and trailing blanks (spaces only, as the search box
// trims).
std::string TrimBlanks(std::string_view text);
// The entries of a search text split at ",", each trimmed (empty ones kept).
std::vector<std::string> SplitEntries(std::string_view text);
// Every entry trimmed, empty entries dropped, joined by "," without blanks:
// " a , ,b " becomes "a,b".
std::string NormaliseSearchText(std::string_view text);
// A description as it is stored: every line break (CR LF, LF or CR) one space.
std::string OneLineDescription(std::string_view text);

}  // namespace kest::search
