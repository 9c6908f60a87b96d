#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kest::text {

// A point in local time, as the catalog stores dates.
struct DateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    auto operator<=>(const DateTime&) const = default;
};

// The user's number separators (from the locale; "." and "," by default).
struct NumberLocale {
    std::string decimal = ".";
    std::string thousands = ",";
};
void SetNumberLocale(const NumberLocale& locale);
const NumberLocale& CurrentNumberLocale();
// The separators of the user's locale (LC_NUMERIC), or "." and "," where the
// locale names no grouping character (the C locale).
NumberLocale UserNumberLocale();

// "YYYY-MM-DD HH:MM:SS" (also without the time) <-> DateTime.
std::optional<DateTime> ParseIsoDateTime(std::string_view text);
std::string ToIso(const DateTime& dt);

// VB Format() of a date with a date format ("mm/dd/yyyy hh:nn:ss", "General Date", ...).
std::string FormatDate(const DateTime& dt, std::string_view format);
// VB Format() of a number with a number format ("#,##0", "0.00", sections with ";", ...).
std::string FormatNumber(double value, std::string_view format);

}  // namespace kest::text
