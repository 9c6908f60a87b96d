#include "core/image/UdfText.h"

#include <vector>

#include "core/text/Calendar.h"
#include "core/volumeid/VolumeIds.h"

namespace kest::image {

std::string DecodeUdfName(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return {};
    // 8 and 254 store one byte a character, 16 and 255 two (big-endian); 254
    // and 255 are the forms some writers use for names they mark deleted.
    bool wide = bytes[0] == 16 || bytes[0] == 255;
    std::span<const std::uint8_t> text = bytes.subspan(1);
    if (wide) return volumeid::Ucs2BeToUtf8(text.data(), text.size() / 2);
    // One byte a character is the first 256 code points.
    std::vector<std::uint8_t> units(2 * text.size());
    for (std::size_t i = 0; i < text.size(); ++i) units[2 * i + 1] = text[i];
    return volumeid::Ucs2BeToUtf8(units.data(), text.size());
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
    std::int64_t seconds = text::DaysFromCivil(year, month, day) * 86400 +
                           std::int64_t{hour * 3600 + minute * 60 + second};
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
