#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "core/archive/SubFileTexts.h"

namespace kest::archive {
namespace {

TEST(SubFileTexts, MethodTextsByArchiveType) {
    const std::tuple<const char*, int32_t, int32_t, const char*> cases[] = {
        {"zip", 0, 0, "Stored"},
        {"zip", 1, 0, "Shrunk"},
        {"zip", 2, 0, "Reduced:1"},
        {"zip", 5, 0, "Reduced:4"},
        {"zip", 6, 0, "Imploded:4KDict:2Tree"},
        {"zip", 6, 2, "Imploded:8KDict:2Tree"},
        {"zip", 6, 4, "Imploded:4KDict:3Tree"},
        {"zip", 6, 7, "Imploded:8KDict:3Tree"},
        {"zip", 7, 0, "Tokenized"},
        {"zip", 8, 0, "Deflated:N"},
        {"zip", 8, 2, "Deflated:X"},
        {"zip", 8, 4, "Deflated:F"},
        {"zip", 8, 6 | 0x800, "Deflated:S"},
        {"zip", 9, 0, "EnhDef"},
        {"zip", 10, 0, "ImplDCL"},
        {"zip", 99, 1, "Unknown"},
        {"ZIP", 12, 0, "Unknown"},
        {"rar", 48, 0, "Stored"},
        {"rar", 51, 0, "Deflated:64Kb"},
        {"rar", 51, 4 << 5, "Deflated:1024Kb"},
        {"rar", 51, 6 << 5, "Deflated:4096Kb"},
        {"rar", 51, 7 << 5, "Deflated:8192Kb"},
        {"rar", 49, 0, "Unknown"},
        {"rar", 53, 0, "Unknown"},
        {"ace", 0, 0, "Stored"},
        {"ace", 1, 0x4000 << 16, "Deflated:1024Kb"},
        {"ace", 2, 0, "Unknown"},
        {"cab", 0, 0, "None"},
        {"cab", 1, 0, "MsZip"},
        {"cab", 0x1222, 0, "Quantum"},
        {"cab", 0x1203, 0, "Lzx"},
        {"cab", 0x0F, 0, ""},
        {"arj", 0, 0, ""},
    };
    for (const auto& [type, method, flags, text] : cases) {
        EXPECT_EQ(MethodText(type, method, flags), text) << type << " " << method << " " << flags;
    }
}

TEST(SubFileTexts, AttributeLettersFollowTheBitOrder) {
    const std::pair<int32_t, const char*> cases[] = {{0, ""},
                                                     {0x21, "RA"},
                                                     {0x10, "D"},
                                                     {0x80, "N"},
                                                     {0x2000, "?"},
                                                     {0x27, "RHSA"},
                                                     {0x4000, "E"},
                                                     {0x8000, ""},
                                                     {-1, "RHSVDALNT?LCO?E"},
                                                     {static_cast<int32_t>(0x81A40020), "A"}};
    for (const auto& [attributes, text] : cases)
        EXPECT_EQ(AttrText(attributes), text) << attributes;
}

TEST(SubFileTexts, CrcIsUpperCaseHexWithoutLeadingZeros) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "0"}, {0xFFFFFFFF, "FFFFFFFF"}, {0x0000ABCD, "ABCD"}, {0xAF083B2D, "AF083B2D"}};
    for (const auto& [crc, text] : cases) EXPECT_EQ(CrcText(crc), text);
}

TEST(SubFileTexts, RatioIsShownWithTwoIntegerDigitsAndOneDecimal) {
    const std::tuple<int64_t, int64_t, const char*> cases[] = {
        {0, 0, "00.0"},     {0, 10, "00.0"},
        {100, 100, "00.0"}, {100, 150, "00.0"},
        {100, 95, "05.0"},  {100000, 36544, "63.5"},
        {100, 0, "100.0"},  {3000000000, 1500000000, "50.0"},
        {400, 311, "22.3"},  // 22.25 exactly: halves round up
    };
    for (const auto& [size, packed, text] : cases) {
        EXPECT_EQ(RatioText(Ratio(size, packed)), text) << size << "/" << packed;
    }
    EXPECT_DOUBLE_EQ(RatioValue(Ratio(100000, 36544)), 63.5);
    EXPECT_FLOAT_EQ(Ratio(100000, 36544), 63.456f);
}

TEST(SubFileTexts, EncryptionFlagByArchiveType) {
    const std::tuple<const char*, int32_t, bool> cases[] = {
        {"zip", 1, true},           {"ZIP", 0x41, true},    {"zip", 4, false},
        {"rar", 4, true},           {"Rar", 1, false},      {"ace", 4, true},
        {"ace", 0x40000000, false}, {"cab", 0xFFFF, false}, {"arj", 0xFFFF, false}};
    for (const auto& [type, flags, encrypted] : cases) {
        EXPECT_EQ(IsEncrypted(type, flags), encrypted) << type << " " << flags;
    }
}

}  // namespace
}  // namespace kest::archive
