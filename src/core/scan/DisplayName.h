#pragma once

#include <string>
#include <string_view>

namespace kest::scan {

// A name as the catalog stores it: valid UTF-8 unchanged, otherwise each byte
// that is not part of a valid sequence replaced by U+FFFD. Gives whether
// anything was replaced.
bool ToValidUtf8(std::string_view bytes, std::string& out);

// The text without leading and trailing spaces (other blanks stay).
std::string TrimSpaces(const std::string& text);

}  // namespace kest::scan
