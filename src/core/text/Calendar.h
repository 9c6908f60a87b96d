#pragma once

#include <optional>
#include <string_view>

#include "core/text/VbFormat.h"

namespace kest::text {

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Dates run from year 100 to 9999, as the classic date type allows.
bool IsValidDate(int year, int month, int day);
bool IsValidTime(int hour, int minute, int second);

// Days since 1970-01-01 (negative before it).
long long DaysFromCivil(int year, int month, int day);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(const DateTime& dt);
// 1 for January 1st.
int DayOfYear(const DateTime& dt);

// English names; month 1..12, weekday 1 (Sunday) .. 7.
std::string_view MonthName(int month);
std::string_view DayName(int weekday);
// A full or three-letter month name in any case.
std::optional<int> MonthFromName(std::string_view name);

// The date part is day zero (1899-12-30) / the time part is midnight.
bool HasNoDate(const DateTime& dt);
bool HasNoTime(const DateTime& dt);

}  // namespace kest::text
