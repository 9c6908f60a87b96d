#pragma once

#include <string>

namespace kest {

// Doubles every single quote, leaving a pair that is already there ("''") as
// one pair: O'Brien -> O''Brien.
std::string SqlEscape(const std::string& text);
// "'" + text + "'".
std::string SqlQuote(const std::string& text);

}  // namespace kest
