#include "core/text/DateParse.h"

namespace kest::text {

DateTime FromTimeT(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::time_t ToTimeT(const DateTime& dt) {
    std::tm local{};
    local.tm_year = dt.year - 1900;
    local.tm_mon = dt.month - 1;
    local.tm_mday = dt.day;
    local.tm_hour = dt.hour;
    local.tm_min = dt.minute;
    local.tm_sec = dt.second;
    local.tm_isdst = -1;  // let the zone rules decide
    return std::mktime(&local);
}

std::string DateText(const DateTime& dt) {
    return FormatDate(dt, "mm/dd/yyyy hh:nn:ss");
}

}  // namespace kest::text
