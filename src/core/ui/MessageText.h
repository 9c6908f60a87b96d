#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kest {

// Message texts end their lines with CR LF; a lone CR or LF also ends one.

// The lines of a message text.
std::vector<std::string> MessageLines(std::string_view text);
// The text with every line ending a single LF, as toolkits show it.
std::string WithLineFeeds(std::string_view text);

}  // namespace kest
