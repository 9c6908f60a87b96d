#pragma once

#include <string>
#include <string_view>

namespace kest::scan {

// The text without leading and trailing spaces (other blanks stay).
std::string TrimSpaces(const std::string& text);

}  // namespace kest::scan
