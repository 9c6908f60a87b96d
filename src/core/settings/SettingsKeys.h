#pragma once

#include <string>
#include <string_view>

namespace kest {

// The name of a numbered key: IndexedKey("Col", 3, "Width") is "Col3Width".
inline std::string IndexedKey(std::string_view prefix, int index, std::string_view suffix = "") {
    return std::string(prefix) + std::to_string(index) + std::string(suffix);
}

}  // namespace kest
