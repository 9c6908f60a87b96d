#include <cstdio>

#include "core/text/Calendar.h"
#include "core/text/VbFormat.h"

namespace kest::text {
namespace {

// Reads exactly `width` digits at `pos`.
std::optional<int> Digits(std::string_view text, size_t pos, size_t width) {
    if (pos + width > text.size()) return std::nullopt;
    int value = 0;
    for (size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::optional<DateTime> ParseIsoDateTime(std::string_view text) {
    if (text.size() != 10 && text.size() != 19) return std::nullopt;
    if (text[4] != '-' || text[7] != '-') return std::nullopt;
    auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    if (!year || !month || !day || !IsValidDate(*year, *month, *day)) return std::nullopt;
    DateTime dt{*year, *month, *day, 0, 0, 0};
    if (text.size() == 10) return dt;
    if (text[10] != ' ' || text[13] != ':' || text[16] != ':') return std::nullopt;
    auto hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
    if (!hour || !minute || !second || !IsValidTime(*hour, *minute, *second)) return std::nullopt;
    dt.hour = *hour;
    dt.minute = *minute;
    dt.second = *second;
    return dt;
}

std::string ToIso(const DateTime& dt) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day,
                  dt.hour, dt.minute, dt.second);
    return buffer;
}

}  // namespace kest::text
