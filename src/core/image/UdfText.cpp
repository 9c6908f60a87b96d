#include "core/image/UdfText.h"

#include "core/text/Calendar.h"

namespace kest::image {

namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

}  // namespace

std::string DecodeUdfName(std::span<const std::uint8_t> bytes) {
    std::string out;
    if (bytes.empty()) return out;
    // 8 and 254 store one byte a character, 16 and 255 two; 254 and 255 are
    // the forms some writers use for names they mark deleted.
    bool wide = bytes[0] == 16 || bytes[0] == 255;
    std::span<const std::uint8_t> text = bytes.subspan(1);
    if (!wide) {
        for (std::uint8_t c : text) AppendUtf8(out, c);
        return out;
    }
    std::size_t units = text.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t unit = std::uint32_t{text[2 * i]} << 8 | text[2 * i + 1];
        if (IsHighSurrogate(unit) && i + 1 < units) {
            std::uint32_t low = std::uint32_t{text[2 * i + 2]} << 8 | text[2 * i + 3];
            if (IsLowSurrogate(low)) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit);
    }
    return out;
}

std::string DecodeUdfFieldName(std::span<const std::uint8_t> field) {
    if (field.size() < 2) return {};
    std::size_t used = field.back();
    if (used > field.size() - 1) used = field.size() - 1;
    return DecodeUdfName(field.first(used));
}

std::int64_t UdfTimestampToUtc(const std::uint8_t* stamp) {
    int typeAndZone = stamp[0] | stamp[1] << 8;
    int year = static_cast<std::int16_t>(stamp[2] | stamp[3] << 8);
    int month = stamp[4], day = stamp[5], hour = stamp[6], minute = stamp[7], second = stamp[8];
    if (month < 1 || month > 12 || day < 1 || day > text::DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return 0;
    }
    std::int64_t seconds =
        text::DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    // Type 1 is a local time whose zone, in minutes east of UTC, is a signed
    // 12-bit number; -2047 says the zone is not known.
    int zone = typeAndZone & 0xFFF;
    if (zone & 0x800) zone -= 0x1000;
    if ((typeAndZone >> 12) == 1 && zone != -2047 && zone >= -1440 && zone <= 1440) {
        seconds -= std::int64_t{zone} * 60;
    }
    return seconds;
}

}  // namespace kest::image
