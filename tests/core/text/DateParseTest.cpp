#include <gtest/gtest.h>

#include "core/text/DateParse.h"

namespace kest::text {
namespace {

struct ParseCase {
    const char* text;
    std::optional<DateTime> expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

const std::optional<DateTime> kRejected;

class IsoTable : public ::testing::TestWithParam<ParseCase> {};
TEST_P(IsoTable, Parses) {
    EXPECT_EQ(ParseIsoDateTime(GetParam().text), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Forms, IsoTable,
    ::testing::Values(ParseCase{"1999-09-18 14:32:21", DateTime{1999, 9, 18, 14, 32, 21}},
                      ParseCase{"2000-02-29", DateTime{2000, 2, 29, 0, 0, 0}},
                      ParseCase{"2001-02-29", kRejected}, ParseCase{"1999-13-01", kRejected},
                      ParseCase{"1999-09-18 24:00:00", kRejected},
                      ParseCase{"1999-09-18 12:60:00", kRejected},
                      ParseCase{"1999-9-18", kRejected},
                      ParseCase{"1999-09-18T14:32:21", kRejected},
                      ParseCase{"1999-09-18 14:32", kRejected}, ParseCase{"", kRejected}));

TEST(IsoDate, RoundTrips) {
    DateTime dt{2024, 2, 29, 23, 59, 58};
    EXPECT_EQ(ToIso(dt), "2024-02-29 23:59:58");
    EXPECT_EQ(ParseIsoDateTime(ToIso(dt)), dt);
    EXPECT_EQ(ToIso(DateTime{}), "1899-12-30 00:00:00");
}

class JetLiteralTable : public ::testing::TestWithParam<ParseCase> {};
TEST_P(JetLiteralTable, Parses) {
    EXPECT_EQ(ParseJetDateLiteral(GetParam().text), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Forms, JetLiteralTable,
    ::testing::Values(ParseCase{"9/18/99 14:32:21", DateTime{1999, 9, 18, 14, 32, 21}},
                      ParseCase{"1/2/29", DateTime{2029, 1, 2, 0, 0, 0}},
                      ParseCase{"1/2/30", DateTime{1930, 1, 2, 0, 0, 0}},
                      ParseCase{"1/2/00 12:00:00 AM", DateTime{2000, 1, 2, 0, 0, 0}},
                      ParseCase{"1/2/2000 12:05 PM", DateTime{2000, 1, 2, 12, 5, 0}},
                      ParseCase{"1/2/2000 1:05:09 pm", DateTime{2000, 1, 2, 13, 5, 9}},
                      ParseCase{"2000-01-02 03:04:05", DateTime{2000, 1, 2, 3, 4, 5}},
                      ParseCase{"14:32:00", DateTime{1899, 12, 30, 14, 32, 0}},
                      ParseCase{"13/1/2000", kRejected}, ParseCase{"2/30/2001", kRejected},
                      ParseCase{"9/18", kRejected}, ParseCase{"9/18/99 25:00", kRejected},
                      ParseCase{"9/18/99 10:00:00:00", kRejected}, ParseCase{"", kRejected},
                      ParseCase{"hello", kRejected}, ParseCase{"9/18/99 #", kRejected}));

class UserDateTable : public ::testing::TestWithParam<ParseCase> {};
TEST_P(UserDateTable, Parses) {
    EXPECT_EQ(ParseUserDate(GetParam().text), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Forms, UserDateTable,
    ::testing::Values(ParseCase{"9/18/99", DateTime{1999, 9, 18, 0, 0, 0}},
                      ParseCase{"9/18/1999 14:32", DateTime{1999, 9, 18, 14, 32, 0}},
                      ParseCase{"1999-09-18 2:32:21 PM", DateTime{1999, 9, 18, 14, 32, 21}},
                      ParseCase{"September 18, 1999 2:32:21 PM", DateTime{1999, 9, 18, 14, 32, 21}},
                      ParseCase{"Sep 18 1999", DateTime{1999, 9, 18, 0, 0, 0}},
                      ParseCase{"18 september 1999", DateTime{1999, 9, 18, 0, 0, 0}},
                      ParseCase{"  9-18-1999  ", DateTime{1999, 9, 18, 0, 0, 0}},
                      ParseCase{"18/9/1999", DateTime{1999, 9, 18, 0, 0, 0}},
                      ParseCase{"September 1999", DateTime{1999, 9, 1, 0, 0, 0}},
                      ParseCase{"12:00 AM", DateTime{1899, 12, 30, 0, 0, 0}},
                      ParseCase{"2/30/2001", kRejected}, ParseCase{"13/13/2001", kRejected},
                      ParseCase{"Smarch 18 1999", kRejected}, ParseCase{"18", kRejected},
                      ParseCase{"1/2/3/4", kRejected}, ParseCase{"1,234", kRejected},
                      ParseCase{"1/1/999", kRejected}, ParseCase{"", kRejected}));

TEST(UserDate, MissingYearIsThisYear) {
    int thisYear = FromTimeT(std::time(nullptr)).year;
    EXPECT_EQ(ParseUserDate("3/4"), (DateTime{thisYear, 3, 4, 0, 0, 0}));
    EXPECT_EQ(ParseUserDate("Mar 4"), (DateTime{thisYear, 3, 4, 0, 0, 0}));
}

struct NumberTextCase {
    const char* text;
    std::optional<double> expected;
};
void PrintTo(const NumberTextCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class NumberTextTable : public ::testing::TestWithParam<NumberTextCase> {};
TEST_P(NumberTextTable, Parses) {
    EXPECT_EQ(ParseNumberText(GetParam().text), GetParam().expected);
    EXPECT_EQ(IsNumericText(GetParam().text), GetParam().expected.has_value());
}
INSTANTIATE_TEST_SUITE_P(
    Forms, NumberTextTable,
    ::testing::Values(NumberTextCase{"42", 42.0}, NumberTextCase{" -1.5 ", -1.5},
                      NumberTextCase{"+7", 7.0}, NumberTextCase{"1,234,567.5", 1234567.5},
                      NumberTextCase{".5", 0.5}, NumberTextCase{"5.", 5.0},
                      NumberTextCase{"1e3", 1000.0}, NumberTextCase{"2.5E-2", 0.025},
                      NumberTextCase{"", std::nullopt}, NumberTextCase{"  ", std::nullopt},
                      NumberTextCase{"-", std::nullopt}, NumberTextCase{".", std::nullopt},
                      NumberTextCase{",5", std::nullopt}, NumberTextCase{"1.2.3", std::nullopt},
                      NumberTextCase{"1e", std::nullopt}, NumberTextCase{"12abc", std::nullopt},
                      NumberTextCase{"1 2", std::nullopt}));

TEST(NumberText, FollowsTheLocale) {
    SetNumberLocale({",", "."});
    EXPECT_EQ(ParseNumberText("1.234,5"), 1234.5);
    EXPECT_FALSE(ParseNumberText("1,2,3"));
    SetNumberLocale({});
}

TEST(LocalTime, RoundTripsThroughUnixTime) {
    DateTime dt{2003, 7, 14, 9, 8, 7};
    EXPECT_EQ(FromTimeT(ToTimeT(dt)), dt);
    EXPECT_EQ(DateText(dt), "07/14/2003 09:08:07");
}

}  // namespace
}  // namespace kest::text
