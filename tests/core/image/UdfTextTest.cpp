#include <gtest/gtest.h>

#include <vector>

#include "core/image/UdfText.h"

namespace kest::image {
namespace {

TEST(UdfText, NamesOfEightAndSixteenBits) {
    std::vector<std::uint8_t> latin{8, 'C', 0xE9, 'z'};
    EXPECT_EQ(DecodeUdfName(latin), "C\xC3\xA9z");
    // U+65E5, then U+1F600 as a surrogate pair, then a lone high surrogate.
    std::vector<std::uint8_t> wide{16, 0x65, 0xE5, 0xD8, 0x3D, 0xDE, 0x00, 0xD8, 0x00, 0x00, 'a'};
    EXPECT_EQ(DecodeUdfName(wide),
              "\xE6\x97\xA5\xF0\x9F\x98\x80\xEF\xBF\xBD"
              "a");
    std::vector<std::uint8_t> odd{16, 0x00, 'a', 0x00};  // a trailing half character is dropped
    EXPECT_EQ(DecodeUdfName(odd), "a");
    EXPECT_EQ(DecodeUdfName({}), "");
    // A field names its used length in its last byte.
    std::vector<std::uint8_t> field{8, 'D', 'V', 'D', 0, 0, 0, 4};
    EXPECT_EQ(DecodeUdfFieldName(field), "DVD");
    field.back() = 200;
    EXPECT_EQ(DecodeUdfFieldName(field), std::string("DVD\0\0\0", 6));  // clamped to the field
}

std::vector<std::uint8_t> Stamp(int typeAndZone, int year, int month, int day, int hour) {
    return {static_cast<std::uint8_t>(typeAndZone),
            static_cast<std::uint8_t>(typeAndZone >> 8),
            static_cast<std::uint8_t>(year),
            static_cast<std::uint8_t>(year >> 8),
            static_cast<std::uint8_t>(month),
            static_cast<std::uint8_t>(day),
            static_cast<std::uint8_t>(hour),
            30,
            15,
            0,
            0,
            0};
}

TEST(UdfText, TimestampsMoveByTheirZone) {
    const std::int64_t noon = 1600000000 - 1600000000 % 86400 + 12 * 3600 + 30 * 60 + 15;
    // 2020-09-13 12:30:15 UTC, then the same clock at UTC+2 and UTC-1:30.
    EXPECT_EQ(UdfTimestampToUtc(Stamp(0x1000, 2020, 9, 13, 12).data()), noon);
    EXPECT_EQ(UdfTimestampToUtc(Stamp(0x1000 | 120, 2020, 9, 13, 12).data()), noon - 7200);
    EXPECT_EQ(UdfTimestampToUtc(Stamp(0x1000 | (0x1000 - 90), 2020, 9, 13, 12).data()),
              noon + 5400);
    // An unknown zone (-2047) and a UTC stamp are taken as they are.
    EXPECT_EQ(UdfTimestampToUtc(Stamp(0x1000 | (0x1000 - 2047), 2020, 9, 13, 12).data()), noon);
    EXPECT_EQ(UdfTimestampToUtc(Stamp(0x0000 | 120, 2020, 9, 13, 12).data()), noon);
    EXPECT_EQ(UdfTimestampToUtc(Stamp(0x1000, 2020, 13, 1, 0).data()), 0);
    EXPECT_EQ(UdfTimestampToUtc(Stamp(0x1000, 2021, 2, 29, 0).data()), 0);
}

}  // namespace
}  // namespace kest::image
