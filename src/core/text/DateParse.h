#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/VbFormat.h"

namespace kest::text {

// The text between "#" signs of a SQL date literal: m/d/y (two-digit years
// 00-29 are 20xx, 30-99 are 19xx) or yyyy-mm-dd, with an optional time
// "h:n[:s] [AM|PM]". A time alone falls on day zero (1899-12-30).
std::optional<DateTime> ParseJetDateLiteral(std::string_view text);

// A date as a user types it (US order): "9/18/99", "9/18/1999 14:32",
// "1999-09-18 2:32:21 PM", "September 18, 1999", "Sep 18 1999",
// "18 September 1999". A month above 12 swaps with the day ("18/9/1999"); a
// missing year is the current one. Dates that do not exist are rejected.
std::optional<DateTime> ParseUserDate(std::string_view text);

// A number as a user types it in a text box: blanks around, a sign, digits
// with the locale's thousands separators, the locale's decimal separator and
// an exponent. "" is not a number.
bool IsNumericText(std::string_view text);
std::optional<double> ParseNumberText(std::string_view text);

// The catalog's usual date text, "mm/dd/yyyy hh:nn:ss".
std::string DateText(const DateTime& dt);

// Unix time <-> local time.
DateTime FromTimeT(std::time_t time);
std::time_t ToTimeT(const DateTime& dt);

}  // namespace kest::text
