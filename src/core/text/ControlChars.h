#pragma once

#include <string>
#include <string_view>

namespace kest::text {

// Shows every control character (line breaks and tabs included) as "?", so
// that a name written into a line-oriented log stays on its own line.
void MaskControls(std::string& text);

inline bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

}  // namespace kest::text
