#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/text/VbFormat.h"

namespace kest::text {
namespace {

struct NumberCase {
    double value;
    const char* format;
    const char* expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.value << " \"" << c.format << '"';
}

class FormatNumberTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumberTable, MatchesClassicFormat) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.format), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatNumberTable,
    ::testing::Values(
        // The formats the program itself uses.
        NumberCase{1234567, "#,##0", "1,234,567"}, NumberCase{0, "#,##0", "0"},
        NumberCase{999, "#,##0", "999"}, NumberCase{1000, "#,##0", "1,000"},
        NumberCase{-1234.4, "#,##0", "-1,234"}, NumberCase{42.5, "0", "43"},
        NumberCase{1.5, "0.00", "1.50"}, NumberCase{0.123456, "0.0000", "0.1235"},
        NumberCase{3.14159, "00.0", "03.1"}, NumberCase{123.45, "00.0", "123.5"},
        // Rounding: halves away from zero; a negative that rounds to zero keeps its sign.
        NumberCase{0.5, "0", "1"}, NumberCase{-0.5, "0", "-1"}, NumberCase{2.5, "0", "3"},
        NumberCase{2.675, "0.00", "2.68"}, NumberCase{0.125, "0.00", "0.13"},
        NumberCase{9.995, "0.00", "10.00"}, NumberCase{999999.5, "#,##0", "1,000,000"},
        NumberCase{-0.04, "0.0", "-0.0"}, NumberCase{0.04, "0.0", "0.0"},
        // Digit placeholders, grouping, scaling and percent.
        NumberCase{0, "#", ""}, NumberCase{0, "#.##", "."}, NumberCase{5, "#.##", "5."},
        NumberCase{5.1, "0.0#", "5.1"}, NumberCase{5.125, "0.0#", "5.13"},
        NumberCase{0.5, "#.00", ".50"}, NumberCase{1.5, ".00", "1.50"}, NumberCase{7, "000", "007"},
        NumberCase{5, "0,000", "0,005"}, NumberCase{12345678, "#,", "12346"},
        NumberCase{1234567890, "#,##0,,", "1,235"},
        NumberCase{5551234, "(###) ###-####", "() 555-1234"}, NumberCase{0.256, "0%", "26%"},
        NumberCase{0.5, "0.0 %", "50.0 %"},
        // Exponents.
        NumberCase{12345, "0.00E+00", "1.23E+04"}, NumberCase{0.00012345, "0.00E+00", "1.23E-04"},
        NumberCase{12345, "0.00E-00", "1.23E04"}, NumberCase{0.00012345, "0.00e-0", "1.23e-4"},
        NumberCase{9.999, "0.00E+00", "1.00E+01"}, NumberCase{0, "0.00E+00", "0.00E+00"},
        NumberCase{-12345, "0.0E+0", "-1.2E+4"}, NumberCase{2.5, "0.00E-000", "2.50E000"},
        NumberCase{2.5, "0.00e-1", "2.50e01"}, NumberCase{3000001, "0.00e+7", "3.00e+67"},
        NumberCase{2.5, "0.00e+0#", "2.50e+0"}, NumberCase{36.75, "#0.0000e-00", "36.7500e00"},
        NumberCase{350.0001e+40, "#000.000e+0", "3500.001e+39"},
        NumberCase{52.5, ".000E+0", ".525E+2"}, NumberCase{2.5e-13, "###.##e-0%", "250.e-13%"},
        // Literal text and sections.
        NumberCase{5, "\"Size: \"0\" KB\"", "Size: 5 KB"}, NumberCase{5, "0\\%", "5%"},
        NumberCase{-5, "$0.00", "-$5.00"}, NumberCase{5, "0;(0)", "5"},
        NumberCase{-5, "0;(0)", "(5)"}, NumberCase{0, "0;(0);\"zero\"", "zero"},
        NumberCase{0, "0;(0)", "0"}, NumberCase{-5, "0;;\"zero\"", "-5"},
        NumberCase{0.001, "0.0;-0.0;\"zero\"", "0.0"}, NumberCase{3, "\"a;b\"0", "a;b3"},
        // Named formats.
        NumberCase{1234.5, "General Number", "1234.5"}, NumberCase{1234.5, "Currency", "$1,234.50"},
        NumberCase{-1234.5, "currency", "($1,234.50)"}, NumberCase{1234.5, "Fixed", "1234.50"},
        NumberCase{-0.5, "Fixed", "-0.50"}, NumberCase{1234.5, "Standard", "1,234.50"},
        NumberCase{0.1234, "Percent", "12.34%"}, NumberCase{1234.5, "Scientific", "1.23E+03"},
        NumberCase{2, "Yes/No", "Yes"}, NumberCase{0, "Yes/No", "No"},
        NumberCase{-1, "True/False", "True"}, NumberCase{0, "On/Off", "Off"},
        // No format: the general text of fifteen digits.
        NumberCase{1.5, "", "1.5"}, NumberCase{42, "", "42"},
        NumberCase{1.0 / 3, "", "0.333333333333333"},
        NumberCase{-2.0 / 3, "", "-0.666666666666667"}, NumberCase{0, "", "0"},
        NumberCase{123456789012345, "", "123456789012345"}, NumberCase{1e15, "", "1E+15"},
        NumberCase{1234567890123456, "", "1.23456789012346E+15"}, NumberCase{0.0001, "", "0.0001"},
        NumberCase{0.000015, "", "1.5E-05"}, NumberCase{0.1 + 0.2, "", "0.3"}));

TEST(FormatNumberLocale, UsesTheLocaleSeparators) {
    SetNumberLocale({",", "."});
    EXPECT_EQ(FormatNumber(1234567.891, "#,##0.00"), "1.234.567,89");
    EXPECT_EQ(FormatNumber(1.5, ""), "1,5");
    EXPECT_EQ(FormatNumber(1.5, "0.0000"), "1,5000");  // the plain road too
    SetNumberLocale({});
    EXPECT_EQ(FormatNumber(1234567.891, "#,##0.00"), "1,234,567.89");
}

// "0.00" and its kin take a shorter road than other formats; "#0.00" shows
// the same digits by the general one, so the two must always agree.
TEST(FormatNumberPlain, AgreesWithTheGeneralRenderer) {
    std::mt19937_64 random(12345);
    std::vector<double> values = {0,           0.5,  0.05,  0.00005, 0.000049999, 9.99995,
                                  99999.99995, 1e15, 1e300, 5e-324,  2.675,       1234567.891};
    for (int i = 0; i < 20000; ++i) {
        int64_t bytes = static_cast<int64_t>(random() % 10'000'000'000);
        values.push_back(static_cast<double>(bytes) / 1048576.0);
        values.push_back(
            std::ldexp(static_cast<double>(random() % 1000000), -static_cast<int>(random() % 60)));
    }
    for (const char* decimals : {"", ".0", ".00", ".0000", ".0000000000"}) {
        std::string plain = std::string("0") + decimals, general = "#" + plain;
        for (double value : values) {
            ASSERT_EQ(FormatNumber(value, plain), FormatNumber(value, general))
                << value << " " << plain;
            ASSERT_EQ(FormatNumber(-value, plain), FormatNumber(-value, general));
        }
    }
}

}  // namespace
}  // namespace kest::text
