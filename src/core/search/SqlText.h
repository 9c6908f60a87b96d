#pragma once

#include <string>
#include <string_view>

namespace kest::search {

// Doubles every single quote so the text can stand between quotes in a
// statement; a pair already present stays one pair.
std::string SqlEscape(std::string_view text);
// "'" + text + "'".
std::string SqlQuote(std::string_view text);
// A number as a statement literal: shortest form, "." as the decimal point.
std::string SqlNumber(double value);

}  // namespace kest::search
