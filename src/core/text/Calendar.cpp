#include "core/text/Calendar.h"

#include <array>

#include "core/text/AsciiCase.h"

namespace kest::text {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                   "Thursday", "Friday", "Saturday"};

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kLengths = {31, 28, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) return 29;
    return kLengths[static_cast<size_t>(month - 1)];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

bool IsValidTime(int hour, int minute, int second) {
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

long long DaysFromCivil(int year, int month, int day) {
    // Howard Hinnant's days_from_civil.
    long long y = month <= 2 ? year - 1 : year;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int DayOfWeek(const DateTime& dt) {
    // 1970-01-01 was a Thursday (5).
    long long days = DaysFromCivil(dt.year, dt.month, dt.day);
    return static_cast<int>(((days + 4) % 7 + 7) % 7) + 1;
}

int DayOfYear(const DateTime& dt) {
    return static_cast<int>(DaysFromCivil(dt.year, dt.month, dt.day) -
                            DaysFromCivil(dt.year, 1, 1)) +
           1;
}

std::string_view MonthName(int month) {
    return kMonths[static_cast<size_t>(month - 1)];
}
std::string_view DayName(int weekday) {
    return kDays[static_cast<size_t>(weekday - 1)];
}

std::optional<int> MonthFromName(std::string_view name) {
    for (int m = 1; m <= 12; ++m) {
        std::string_view full = kMonths[static_cast<size_t>(m - 1)];
        if (EqualsNoCase(name, full) || EqualsNoCase(name, full.substr(0, 3))) return m;
    }
    // "Sept" is common enough to accept.
    if (EqualsNoCase(name, "Sept")) return 9;
    return std::nullopt;
}

bool HasNoDate(const DateTime& dt) {
    return dt.year == 1899 && dt.month == 12 && dt.day == 30;
}
bool HasNoTime(const DateTime& dt) {
    return dt.hour == 0 && dt.minute == 0 && dt.second == 0;
}

}  // namespace kest::text
