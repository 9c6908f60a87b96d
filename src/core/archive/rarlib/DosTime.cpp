#include "core/archive/rarlib/DosTime.h"

#include <time.h>

namespace kest::archive {

namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = 2107;
constexpr uint32_t kFirstDosTime = (1 << 5 | 1) << 16;  // 1980-01-01 00:00:00

}  // namespace

uint32_t UnixToLocalDosTime(int64_t unixTime) {
    time_t value = static_cast<time_t>(unixTime);
    struct tm local {};
    if (!localtime_r(&value, &local) || local.tm_year + 1900 < kFirstYear) return kFirstDosTime;
    if (local.tm_year + 1900 > kLastYear) {
        local = tm{};
        local.tm_year = kLastYear - 1900;
        local.tm_mon = 11;
        local.tm_mday = 31;
        local.tm_hour = 23;
        local.tm_min = 59;
        local.tm_sec = 58;
    }
    uint32_t date = static_cast<uint32_t>((local.tm_year + 1900 - kFirstYear) << 9 |
                                          (local.tm_mon + 1) << 5 | local.tm_mday);
    uint32_t time =
        static_cast<uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    return date << 16 | time;
}

}  // namespace kest::archive
