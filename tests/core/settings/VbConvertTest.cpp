#include "core/settings/VbConvert.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/common/KestError.h"

namespace kest::vb {
namespace {

long ErrorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const KestError& e) {
        return e.Number();
    }
    return 0;
}

TEST(VbConvertTest, ValTakesTheLongestNumericPrefix) {
    const std::pair<const char*, double> cases[] = {
        {"192", 192},         {"  42abc", 42}, {"8.25", 8.25},     {"-1.5e2x", -150},
        {"1 2 3", 123},       {".5", 0.5},     {"1e", 1},          {"2D3", 2000},
        {"abc", 0},           {"", 0},         {"-", 0},           {"1.2.3", 1.2},
        {"&H000000C0&", 192}, {"&HFFFF", -1},  {"&HFFFF&", 65535}, {"&h10000", 65536},
        {"&HFFFFFFFF", -1},   {"&O17", 15},    {"&Hzz", 0},        {"12,5", 12},
    };
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(Val(text), expected) << text;
}

TEST(VbConvertTest, ValOverflowsBeyondItsRange) {
    EXPECT_EQ(ErrorNumberOf([] { Val("1e999"); }), err::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Val("&H100000000"); }), err::kOverflow);
}

TEST(VbConvertTest, CBoolReadsLiteralsAndNumbers) {
    const std::pair<const char*, bool> cases[] = {
        {"True", true}, {"FALSE", false}, {"tRuE", true}, {" False ", false}, {"0", false},
        {"-1", true},   {"0.0", false},   {"2.5", true},  {"&H0", false},     {"1e3", true},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(CBool(text), expected) << text;
    for (const char* text : {"maybe", "", "   ", "1x", "yes", "Truee", "&"}) {
        EXPECT_EQ(ErrorNumberOf([&] { CBool(text); }), err::kConversion) << text;
    }
}

TEST(VbConvertTest, IntegersRoundHalfToEvenWithinTheirRange) {
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(8.25), 8);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768), -32768);
    EXPECT_EQ(ErrorNumberOf([] { CInt(32767.5); }), err::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { CInt(-40000); }), err::kOverflow);
    EXPECT_EQ(CLng(2017.5), 2018);
    EXPECT_EQ(CLng(-2147483648.0), INT32_MIN);
    EXPECT_EQ(ErrorNumberOf([] { CLng(3e9); }), err::kOverflow);
}

TEST(VbConvertTest, StoredTexts) {
    EXPECT_EQ(BoolText(true), "True");
    EXPECT_EQ(BoolText(false), "False");
    EXPECT_EQ(NumberText(8.25), "8.25");
    EXPECT_EQ(NumberText(192), "192");
    EXPECT_EQ(NumberText(-2017.5), "-2017.5");
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("   "), "");
}

}  // namespace
}  // namespace kest::vb
