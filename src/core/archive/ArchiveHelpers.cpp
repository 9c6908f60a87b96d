#include "core/archive/ArchiveHelpers.h"

#include <ctime>

namespace kest::archive {

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kUnixEpochSeconds = 11'644'473'600;
// What a rejected DOS value turns into: 1980-01-01 03:00:00, in milliseconds.
constexpr uint64_t kRejectedDosMs = 11'960'017'200'000;

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Civil date of a day count from 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

text::DateTime FromUnixSeconds(int64_t seconds) {
    int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    int64_t rest = seconds - days * 86400;
    text::DateTime dt;
    CivilFromDays(days, dt.year, dt.month, dt.day);
    dt.hour = static_cast<int>(rest / 3600);
    dt.minute = static_cast<int>(rest / 60 % 60);
    dt.second = static_cast<int>(rest % 60);
    return dt;
}

}  // namespace

std::string GetExtension(std::string_view fileName) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == fileName.size()) return "";
    std::string ext(fileName.substr(dot + 1));
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return ext;
}

SplitName SplitPath(std::string_view path) {
    size_t cut = path.rfind('/');
    if (cut == std::string_view::npos) cut = path.rfind('\\');
    if (cut == std::string_view::npos) return {"", std::string(path)};
    return {std::string(path.substr(0, cut + 1)), std::string(path.substr(cut + 1))};
}

text::DateTime DosToDate(uint16_t dosDate, uint16_t dosTime) {
    text::DateTime dt;
    dt.year = 1980 + (dosDate >> 9);
    dt.month = (dosDate >> 5) & 0x0F;
    dt.day = dosDate & 0x1F;
    dt.hour = dosTime >> 11;
    dt.minute = (dosTime >> 5) & 0x3F;
    dt.second = (dosTime & 0x1F) * 2;
    bool valid = dt.month >= 1 && dt.month <= 12 && dt.day >= 1 &&
                 dt.day <= DaysInMonth(dt.year, dt.month) && dt.hour < 24 && dt.minute < 60 &&
                 dt.second < 60;
    return valid ? dt : FileTimeToDate(0, false);
}

text::DateTime DosToDate(uint32_t dosDateTime) {
    return DosToDate(static_cast<uint16_t>(dosDateTime >> 16),
                     static_cast<uint16_t>(dosDateTime & 0xFFFF));
}

text::DateTime FileTimeToDate(uint64_t fileTime, bool toLocal) {
    if (fileTime == 0) return FromUnixSeconds(kRejectedDosMs / 1000 - kUnixEpochSeconds);
    int64_t unixSeconds = static_cast<int64_t>(fileTime / kTicksPerSecond) - kUnixEpochSeconds;
    return toLocal ? UnixTimeToDate(unixSeconds) : FromUnixSeconds(unixSeconds);
}

text::DateTime UnixTimeToDate(int64_t seconds) {
    time_t t = static_cast<time_t>(seconds);
    struct tm local {};
    if (localtime_r(&t, &local) == nullptr) return FromUnixSeconds(seconds);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string StripNull(std::string_view text) {
    size_t nul = text.find('\0');
    if (nul != std::string_view::npos) return std::string(text.substr(0, nul));
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace kest::archive
