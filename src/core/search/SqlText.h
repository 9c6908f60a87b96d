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
// An identifier (KestId, FileId) given as text, checked to be a whole number
// before it stands in a statement; anything else raises KestError 3061 as
// the engine does for a word it cannot read as a value.
std::string SqlWholeNumber(std::string_view text);

}  // namespace kest::search
