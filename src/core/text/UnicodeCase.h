#pragma once

#include <string>
#include <string_view>

namespace kest::text {

// UTF-8 text in upper case, letter by letter (bytes that are not valid UTF-8
// pass unchanged).
std::string UpperCase(std::string_view text);

}  // namespace kest::text
