#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kest::text {

// Format tokens, named formats and month names are plain ASCII words.
inline char AsciiLower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// `text` holds `word` at `pos`, in any case.
inline bool HasWordAt(std::string_view text, size_t pos, std::string_view word) {
    return pos <= text.size() && EqualsNoCase(text.substr(pos, word.size()), word);
}

}  // namespace kest::text
